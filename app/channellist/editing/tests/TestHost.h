#pragma once
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "channellist/CSVLFile.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

/// A program list without a window: rows are the programs in document order (or an
/// explicit filtered order), the selection is a list of document indexes. It records every
/// notification the engine sends.
class TestHost : public IListEditHost {
  public:
    CSVLFile list;
    std::vector<std::size_t> selected;
    std::vector<std::size_t> listedOverride;  ///< when not empty, the rows shown
    bool categoryMode = false;
    bool noList = false;

    // recorded notifications
    std::vector<std::vector<std::size_t>> inserted, removed, changed, reordered;
    std::vector<bool> modifiedCalls;
    QString countText;
    int selectAllCalls = 0;

    CSVLFile* List() override { return noList ? nullptr : &list; }
    std::vector<std::size_t> SelectedProgramIndexes() const override { return selected; }
    std::vector<std::size_t> ListedProgramIndexes() const override;
    std::size_t RowCount() const override { return ListedProgramIndexes().size(); }
    bool IsCategoryMode() const override { return categoryMode; }
    void SelectAllRows() override;
    void SelectPrograms(const std::vector<std::size_t>& indexes) override {
        if (!indexes.empty()) selected = indexes;
    }
    void ProgramsInserted(const std::vector<std::size_t>& i) override { inserted.push_back(i); }
    void ProgramsRemoved(const std::vector<std::size_t>& i) override;
    void ProgramsChanged(const std::vector<std::size_t>& i) override { changed.push_back(i); }
    void ProgramsReordered(const std::vector<std::size_t>& moved) override {
        reordered.push_back(moved);
        SelectPrograms(moved);
    }
    void SetModified(bool m) override { modifiedCalls.push_back(m); }
    void SetProgramCountText(const QString& text) override { countText = text; }
    /// The program list's built-in columns with the list's own cell texts, decimal PIDs.
    ListPrintTable PrintTable() override;

    bool Modified() const { return !modifiedCalls.empty() && modifiedCalls.back(); }
    /// Appends programs named by `names` (provider "P", LNB "L").
    void AddPrograms(const std::vector<std::string>& names);
    std::vector<std::string> Names() const;
};

/// Collects messages instead of showing boxes.
class RecordingSink : public IMessageSink {
  public:
    struct Message {
        Icon icon;
        QString caption;
        QString text;
        bool topmost;
    };
    std::vector<Message> messages;
    void Show(Icon icon, const QString& caption, const QString& text, bool topmost) override {
        messages.push_back({icon, caption, text, topmost});
    }
    QString LastText() const { return messages.empty() ? QString() : messages.back().text; }
};

/// A program with every field set from `name`, so that a lost or mixed-up field shows.
std::unique_ptr<CProgramInfo> MakeProgram(const std::string& name, int seed = 1);
