#pragma once
// What the TV part needs of the program list view: the list shown, its
// program filter and the memory of the last program per filter.
class CSVLFile;

class IProgramListHost {
  public:
    virtual ~IProgramListHost() = default;
    /// The channel list shown; null when none is open.
    virtual const CSVLFile* List() const = 0;
    /// 0 TV, 1 radio, 2 data, 3 all.
    virtual int ProgramFilter() const = 0;
    /// Changes the filter and refills the list (which tunes its last program).
    virtual void SetProgramFilter(int filter) = 0;
    /// Stores `index` as the last program of the current filter.
    virtual void RememberProgram(int index) = 0;
};
