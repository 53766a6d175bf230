#pragma once
// The card's steps when the main frame is built and when it goes: board,
// firmware, decoder, front end, on-screen display, filters, remote control,
// sound chip and common interface, in their fixed order. No step stops the
// start: a failed board or front-end step shows its message and the next
// step is tried anyway, so that without a card the program is a list editor.
#include <QString>
#include <chrono>
#include <functional>

class IDeviceSet;
class QSettings;

namespace CardStartUp {

/// Shows one failure message (caption "Fehler", OK).
using ErrorBox = std::function<void(const QString& message)>;
using Sleep = std::function<void(std::chrono::milliseconds)>;

/// The firmware folder: key "Path" of section "DVBServer" of `winIni`
/// (at most 255 characters; "C:\" when missing) with "boot/24/" appended.
QString FirmwareFolder(QSettings& winIni);

/// "Satellite", "Cabel", "Terrestrial" or "None" for a front-end chip type.
QString FrontendKindText(int chipType);

/// Brings the card up; returns the front-end kind text ("None" when the type
/// could not be read).
QString Run(IDeviceSet& card, const QString& firmwareFolder, const ErrorBox& error,
            const Sleep& sleep);

/// Leaves the card idle: CD audio loop on, teletext off, filters shut down,
/// remote control off, common interface closed. Never throws.
void TearDown(IDeviceSet& card) noexcept;

}  // namespace CardStartUp
