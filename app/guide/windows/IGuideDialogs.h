#pragma once
// The dialogs the guide's lists open (the search input, its message, the
// detail window, the search result), so that tests answer them.
#include <QString>
#include <optional>
#include <vector>

class CEPGInfo;
class QWidget;

class IGuideDialogs {
  public:
    virtual ~IGuideDialogs() = default;
    /// "Suchen nach:"; nothing when the user cancels.
    virtual std::optional<QString> AskSearchText(QWidget* parent) = 0;
    /// "Keine Sendung gefunden." in a box titled "Suchen".
    virtual void TellNothingFound(QWidget* parent) = 0;
    /// The detail window "Detailinfo" of one event, until it is closed.
    virtual void ShowDetail(const CEPGInfo& record, QWidget* parent) = 0;
    /// The result window "Suchergebnis" with the hits, until it is closed.
    virtual void ShowResults(std::vector<const CEPGInfo*> hits, QWidget* parent) = 0;
};
