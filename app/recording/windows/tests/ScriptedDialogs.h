#pragma once
// The playlist's and the timers' boxes and dialogs answered as a test says,
// keeping what they showed.
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "recording/CPlayListFile.h"
#include "recording/windows/IPlayListDialogs.h"
#include "recording/windows/ITimerDialogs.h"

struct ScriptedDialogs : IPlayListDialogs, ITimerDialogs {
    QStringList shown;         // "caption | text" of every box and question
    std::deque<bool> answers;  // Yes/No in order; a question without one is answered No
    std::vector<FileRequest> fileRequests;
    QString chosenFile;
    std::function<bool(CPlayListEntry&)> editEntry = [](CPlayListEntry&) { return false; };
    int edits = 0;
    std::function<bool(CTimerEntry&, TimerDialogMode, const TimerConflictCheck&)> editTimer =
        [](CTimerEntry&, TimerDialogMode, const TimerConflictCheck&) { return false; };

    void ShowError(const QString& caption, const QString& text) override {
        shown << caption + " | " + text;
    }
    void ShowWarning(const QString& caption, const QString& text) override {
        shown << caption + " | " + text;
    }
    bool AskYesNo(const QString& caption, const QString& text) override {
        shown << caption + " | " + text;
        if (answers.empty()) return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    QString AskFile(const FileRequest& request) override {
        fileRequests.push_back(request);
        return chosenFile;
    }
    bool EditEntry(CPlayListEntry& entry) override {
        ++edits;
        return editEntry(entry);
    }
    bool EditTimer(CTimerEntry& entry, TimerDialogMode mode,
                   const TimerConflictCheck& conflict) override {
        ++edits;
        return editTimer(entry, mode, conflict);
    }
};
