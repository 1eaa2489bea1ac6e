#include "view/file_chooser.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWindow>

#include "text/utf.h"
#include "view/paint_helpers.h"
#include "view/view_controller.h"
#include "view/view_thread.h"
#include "view/window_mirror.h"

namespace platform::view {

namespace {

using commdlg::FileChoice;
using commdlg::OpenFileRequest;

// Qt reads a filter's patterns from the parentheses at its end, separated by
// spaces; the description is shown as the program wrote it.
QString QtFilter(const commdlg::FileFilter &filter) {
  QStringList patterns;
  for (const auto &pattern : filter.patterns) patterns << ToQString(pattern);
  return ToQString(filter.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QStringList QtFilters(const OpenFileRequest &request) {
  QStringList filters;
  for (const auto &filter : request.filters) filters << QtFilter(filter);
  return filters;
}

void CentreOverOwner(QFileDialog &dialog, HWND owner) {
  ViewController *controller = ViewController::Current();
  const WindowMirror *mirror = controller && owner ? controller->MirrorOf(owner) : nullptr;
  const QRect area = mirror ? mirror->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
  dialog.adjustSize();
  dialog.move(area.center() - dialog.rect().center());
  if (mirror) {
    dialog.winId();
    dialog.windowHandle()->setTransientParent(mirror->windowHandle());
  }
}

QFileDialog *MakeDialog(const OpenFileRequest &request) {
  auto *dialog = new QFileDialog(nullptr, ToQString(request.title), ToQString(request.folder));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  const QStringList filters = QtFilters(request);
  if (!filters.isEmpty()) {
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.value(static_cast<int>(request.filterIndex)));
  }
  if (!request.defaultExtension.empty()) dialog->setDefaultSuffix(ToQString(request.defaultExtension));
  if (!request.fileName.empty()) dialog->selectFile(ToQString(request.fileName));
  return dialog;
}

// The dialog names the selected filter without its patterns, which it hides.
size_t SelectedFilterIndex(const QFileDialog &dialog) {
  const QString selected = dialog.selectedNameFilter();
  const QStringList filters = dialog.nameFilters();
  for (int i = 0; i < filters.size(); ++i) {
    if (filters[i] == selected || filters[i].startsWith(selected + QStringLiteral(" ("))) return static_cast<size_t>(i);
  }
  return 0;
}

std::optional<FileChoice> ChoiceOf(const QFileDialog &dialog, int result) {
  const QStringList files = dialog.selectedFiles();
  if (result != QDialog::Accepted || files.isEmpty()) return std::nullopt;
  return FileChoice{text::FromUtf8(files.front().toStdString()), SelectedFilterIndex(dialog)};
}

// On the view's thread. The dialog is deleted once its answer is given, from
// the view's queue rather than inside its own signal.
void ShowDialog(const OpenFileRequest &request, const commdlg::FileChoiceReply &reply) {
  QFileDialog *dialog = MakeDialog(request);
  QObject::connect(dialog, &QDialog::finished, dialog, [dialog, reply](int result) {
    reply(ChoiceOf(*dialog, result));
    dialog->hide();
    ViewController::Post([dialog] { delete dialog; });
  });
  CentreOverOwner(*dialog, request.owner);
  dialog->show();
}

}  // namespace

void ChooseFileOnScreen(const OpenFileRequest &request, commdlg::FileChoiceReply reply) {
  if (!EnsureViewStarted() || !ViewController::Post([request, reply] { ShowDialog(request, reply); })) {
    reply(std::nullopt);
  }
}

}  // namespace platform::view
