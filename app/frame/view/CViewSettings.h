#pragma once

class QSettings;

/// The view's memory in the settings section "Einstellungen": the program
/// filter, the last program per kind and the guide page. All default to 0.
struct CViewSettings {
    int programFilter = 0;     ///< "Programmfilter": 0 TV, 1 radio, 2 data, 3 all
    int lastTvProgram = 0;     ///< "LastTVProgramm" (filters TV and all)
    int lastRadioProgram = 0;  ///< "LastRadioProgramm"
    int lastDataProgram = 0;   ///< "LastDataProgramm"
    int guidePage = 0;         ///< "CurrentNextEvent": 0 current, 1 next event

    static CViewSettings Read(QSettings& settings);
    void Write(QSettings& settings) const;
    static CViewSettings Read();
    void Write() const;

    /// The last-program field that belongs to `filter`.
    int& LastProgramFor(int filter);

    bool operator==(const CViewSettings&) const = default;
};
