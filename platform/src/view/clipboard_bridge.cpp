#include "view/clipboard_bridge.h"

#include <QClipboard>
#include <QGuiApplication>

#include "text/utf.h"
#include "view/view_controller.h"

namespace platform::view {

windowing::ClipboardBackend QtClipboardBackend() {
  windowing::ClipboardBackend backend;
  backend.read = [] {
    QString text;
    ViewController::Run([&] { text = QGuiApplication::clipboard()->text(); });
    return text::FromUtf8(text.toStdString());
  };
  backend.write = [](const std::wstring &text) {
    const QString qtext = QString::fromStdString(text::ToUtf8(text));
    ViewController::Run([&] { QGuiApplication::clipboard()->setText(qtext); });
  };
  return backend;
}

}  // namespace platform::view
