#pragma once
#include <cstddef>
#include <vector>

#include "channellist/CSVLFile.h"
#include "channellist/editing/IListEditHost.h"
#include "channellist/editing/IMessageSink.h"

/// A host without a window, for tools, benchmarks and fuzz targets that drive the editing
/// engine alone: it owns the list and a selection of document indexes, lists no rows of its
/// own and drops every notification. Override what a caller wants to observe.
class CBareListHost : public IListEditHost {
  public:
    CSVLFile list;
    std::vector<std::size_t> selected;

    CSVLFile* List() override { return &list; }
    std::vector<std::size_t> SelectedProgramIndexes() const override { return selected; }
    std::vector<std::size_t> ListedProgramIndexes() const override { return {}; }
    std::size_t RowCount() const override { return list.Programs.size(); }
    bool IsCategoryMode() const override { return false; }
    void SelectAllRows() override {}
    void SelectPrograms(const std::vector<std::size_t>&) override {}
    void ProgramsInserted(const std::vector<std::size_t>&) override {}
    void ProgramsRemoved(const std::vector<std::size_t>&) override {}
    void ProgramsChanged(const std::vector<std::size_t>&) override {}
    void ProgramsReordered(const std::vector<std::size_t>&) override {}
    void SetModified(bool) override {}
    void SetProgramCountText(const QString&) override {}
};

/// A message sink that shows nothing.
class CSilentMessageSink : public IMessageSink {
  public:
    void Show(Icon, const QString&, const QString&, bool) override {}
};
