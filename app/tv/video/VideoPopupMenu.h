#pragma once
// The pop-up menus the video window asks for ("TV und EPG Kontrolle",
// "Videorekorder"): a title bar shaded from 0xFF8080 to white above the
// items, each item with its icon and its command number as data.
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QPoint>

#include "tv/VideoMenuItems.h"

namespace VideoPopupMenu {

/// The menu, owned by `parent`.
QMenu* Build(const QString& title, const QList<VideoMenuItems::Item>& items, QWidget* parent);
/// Shows a menu at `at` (screen) until the user chooses or leaves it, then
/// destroys it; the command chosen, 0 for none.
int Run(const QString& title, const QList<VideoMenuItems::Item>& items, QPoint at, QWidget* parent);
/// The image of a command of the two menus.
QIcon IconFor(int command);

}  // namespace VideoPopupMenu
