#pragma once
// A stand-in for the document's dialogs: answers come from queues the test
// fills, and every prompt shown is recorded.
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <string>

#include "channellist/CSVLFile.h"
#include "channellist/document/IDocumentPrompts.h"

class ScriptedPrompts : public IDocumentPrompts {
  public:
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<SaveChangesAnswer> changesAnswers;

    QStringList openTitles, openFilters, saveTitles, proposedNames, questions, errors;

    QString AskOpenFile(const QString& title, const QString& filter) override {
        openTitles << title;
        openFilters << filter;
        return Pop(openAnswers, QString());
    }
    QString AskSaveFile(const QString& title, const QString&, const QString& proposed) override {
        saveTitles << title;
        proposedNames << proposed;
        return Pop(saveAnswers, QString());
    }
    SaveChangesAnswer AskSaveChanges(const QString& text) override {
        questions << text;
        return Pop(changesAnswers, SaveChangesAnswer::Cancel);
    }
    void ShowError(const QString& text) override { errors << text; }

  private:
    template <class T>
    static T Pop(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T v = queue.front();
        queue.pop_front();
        return v;
    }
};

/// A small list with the given program names, in order.
inline CSVLFile MakeList(std::initializer_list<const char*> names) {
    CSVLFile list;
    for (const char* name : names) {
        auto program = std::make_unique<CProgramInfo>();
        program->Name = name;
        program->Provider = "Testanbieter";
        program->Frequency = 11'836'000;
        program->ProgramType = 1;
        list.Programs.push_back(std::move(program));
    }
    return list;
}

inline std::vector<std::string> NamesOf(const CSVLFile& list) {
    std::vector<std::string> names;
    for (const auto& p : list.Programs) names.push_back(p->Name);
    return names;
}
