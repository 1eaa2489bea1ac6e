// Driving the program's dialog (template 102) through the screen view as a
// tester does: a dialog procedure of the tests' own that records what the
// dialog hears, a pump that runs the thread's messages and Qt's events, and
// Qt mouse and keyboard input given to a window's mirror.
#pragma once

#include <windows.h>

#include <QPoint>
#include <QString>
#include <functional>
#include <ostream>
#include <vector>

class QWidget;

namespace view_testing {

constexpr int kMainDialog = 102;
constexpr int kProgramIcon = 201;

// What the dialog heard: the message, the low and high words of wParam (for
// WM_NOTIFY, the control id and the notification code).
struct Heard {
  UINT message;
  UINT low;
  UINT high;
  bool operator==(const Heard &) const = default;
};
std::ostream &operator<<(std::ostream &os, const Heard &h);

// The log of WM_COMMAND, WM_HSCROLL, WM_VSCROLL and WM_NOTIFY.
std::vector<Heard> &Log();
// The log entries of one control (or of the dialog's scroll bars: id 0).
std::vector<Heard> HeardFrom(int id);

// Runs `script(dialog)` from the dialog's own message loop, once, after it started.
using Script = std::function<void(HWND dialog)>;

// The dialog procedure: sets the program icon as the caption's icon, records,
// runs the script, and ends (EndDialog) on IDOK and IDCANCEL.
INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A modeless dialog 102, shown, with its mirror up to date; the script runs when pumped.
HWND ShowMainDialog(Script script = {});
// The modal run of dialog 102 with the script; returns DialogBoxParamW's result.
INT_PTR RunMainDialog(Script script);

// Runs Qt's events and the thread's messages (through the dialog manager for
// `dialog`) until nothing is left, or until `done` holds; false after 5 s.
bool Pump(HWND dialog, const std::function<bool()> &done = {});

QWidget *Mirror(HWND topLevel);
// The centre of a control (or a point of it) in its top-level window's client coordinates.
QPoint PointOf(HWND control, POINT inControl);
QPoint CentreOf(HWND control);

// Qt input, as the display would deliver it to the mirror.
void QtPress(QWidget *mirror, QPoint at);
void QtMoveHeld(QWidget *mirror, QPoint to);
void QtRelease(QWidget *mirror, QPoint at);
void QtClick(QWidget *mirror, QPoint at);
void QtKey(QWidget *mirror, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {});
void QtType(QWidget *mirror, const QString &text);

std::wstring TextOf(HWND window);

}  // namespace view_testing
