// Dialog templates: the program's main dialog as the resource compiler wrote
// it (embedded in this test program), and hand-built classic and extended
// templates, including malformed and truncated ones.
#include "resources/dialog_template.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "../../console/resource.h"

namespace {

using platform::resources::DialogItemTemplate;
using platform::resources::DialogTemplate;
using platform::resources::ParseDialogTemplate;
using platform::resources::PredefinedClassName;

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;

std::span<const uint8_t> MainDialogBytes() {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), RT_DIALOG);
  if (!resource) return {};
  return {static_cast<const uint8_t *>(LockResource(LoadResource(nullptr, resource))),
          SizeofResource(nullptr, resource)};
}

DialogTemplate MainDialog() {
  DialogTemplate dialog;
  EXPECT_TRUE(ParseDialogTemplate(MainDialogBytes(), dialog));
  return dialog;
}

std::string Hex(DWORD value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// Writes template fields little-endian with 16-bit characters.
class TemplateWriter {
 public:
  TemplateWriter &Word(WORD value) {
    m_bytes.insert(m_bytes.end(), {LOBYTE(value), HIBYTE(value)});
    return *this;
  }
  TemplateWriter &Dword(DWORD value) { return Word(LOWORD(value)).Word(HIWORD(value)); }
  TemplateWriter &Place(short x, short y, short cx, short cy) {
    return Word(static_cast<WORD>(x)).Word(static_cast<WORD>(y)).Word(static_cast<WORD>(cx)).Word(static_cast<WORD>(cy));
  }
  TemplateWriter &Text(const std::u16string &text) {
    for (char16_t c : text) Word(c);
    return Word(0);
  }
  TemplateWriter &Ordinal(WORD id) { return Word(0xFFFF).Word(id); }
  TemplateWriter &Bytes(std::initializer_list<uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes);
    return *this;
  }
  TemplateWriter &Align() {
    while (m_bytes.size() % 4) m_bytes.push_back(0);
    return *this;
  }
  const std::vector<uint8_t> &Result() const { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
};

// ---- The main dialog ----

TEST(MainDialogTemplate, HeaderIsThePopUpWithShellFont) {
  const DialogTemplate dialog = MainDialog();
  EXPECT_TRUE(dialog.extended);
  EXPECT_EQ(dialog.style, 0x80C800C8u) << "got " << Hex(dialog.style);
  EXPECT_EQ(dialog.exStyle, 0u) << "got " << Hex(dialog.exStyle);
  EXPECT_EQ(dialog.helpId, 0u);
  EXPECT_EQ((std::vector<short>{dialog.x, dialog.y, dialog.cx, dialog.cy}), (std::vector<short>{0, 0, 293, 151}));
  EXPECT_FALSE(dialog.menu.IsOrdinal());
  EXPECT_EQ(dialog.menu.text, L"");
  EXPECT_FALSE(dialog.windowClass.IsOrdinal());
  EXPECT_EQ(dialog.windowClass.text, L"") << "the standard dialog class";
  EXPECT_EQ(dialog.title, L"Quorvel");
  EXPECT_TRUE(dialog.hasFont);
  EXPECT_EQ(dialog.pointSize, 8);
  EXPECT_EQ(dialog.weight, FW_NORMAL);
  EXPECT_EQ(dialog.italic, 0);
  EXPECT_EQ(dialog.charset, 0);
  EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
}

TEST(MainDialogTemplate, ControlsInTabOrderWithTheirIdsClassesTextsStylesAndPlaces) {
  struct Control {
    DWORD id;
    WORD classOrdinal;
    const wchar_t *className;  // when the class is not predefined
    const wchar_t *text;
    DWORD style;
    short x, y, cx, cy;
  };
  constexpr DWORD kNoId = 0xFFFFFFFF;
  const Control expected[] = {
      {IDC_LOAD, kButton, nullptr, L"Load...", 0x50010000, 13, 18, 50, 14},
      {IDC_FILE, kEdit, nullptr, L"", 0x50810080, 65, 19, 215, 12},
      {IDC_BUILD_GRAPH, kButton, nullptr, L"Build graph", 0x50010000, 150, 55, 50, 14},
      {IDC_SHOW_GRAPH, kButton, nullptr, L"Show graph", 0x50010000, 230, 55, 50, 14},
      {IDC_PASS_THROUGH, kButton, nullptr, L"Pass through input time stamps", 0x50010003, 13, 52, 116, 10},
      {IDC_MAINTAIN_ASPECT_RATIO, kButton, nullptr, L"Maintain aspect ratio", 0x50010003, 13, 65, 83, 10},
      {IDC_FORCE_CHROMA_FORMAT, kButton, nullptr, L"Force original chroma format", 0x50010003, 13, 78, 107, 10},
      {IDC_PLAY, kButton, nullptr, L"Play", 0x50010000, 41, 130, 50, 14},
      {IDC_PAUSE, kButton, nullptr, L"Pause", 0x50010000, 121, 130, 50, 14},
      {IDC_STOP, kButton, nullptr, L"Stop", 0x50010000, 201, 130, 50, 14},
      {kNoId, kButton, nullptr, L"Graph creation", 0x50000007, 7, 7, 279, 87},
      {IDC_SEEK_BAR, 0, L"msctls_trackbar32", L"", 0x50010038, 7, 114, 279, 13},
      {kNoId, kStatic, nullptr, L"Position", 0x50020000, 11, 102, 26, 8},
      {IDC_POSITION, kStatic, nullptr, L"", 0x50021000, 38, 102, 118, 9},
      {IDC_PREV_FRAME, kButton, nullptr, L"<", 0x50010000, 187, 98, 28, 14},
      {IDC_NEXT_FRAME, kButton, nullptr, L">", 0x50010000, 252, 98, 28, 14},
      {IDC_CURRENT_FRAME, kButton, nullptr, L"[]", 0x50010000, 219, 98, 28, 14},
      {kNoId, kStatic, nullptr, L"Number of threads", 0x50020000, 13, 39, 61, 8},
      {IDC_THREADS, kEdit, nullptr, L"", 0x50812080, 76, 37, 32, 12},
      {IDC_THREADS_SPIN, 0, L"msctls_updown32", L"", 0x50000036, 102, 39, 11, 14},
  };
  const DialogTemplate dialog = MainDialog();
  ASSERT_EQ(dialog.items.size(), std::size(expected));
  for (size_t i = 0; i < dialog.items.size(); ++i) {
    const DialogItemTemplate &item = dialog.items[i];
    const Control &want = expected[i];
    SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(static_cast<int>(want.id)));
    EXPECT_EQ(item.id, want.id);
    EXPECT_EQ(item.windowClass.ordinal, want.classOrdinal);
    if (want.className) {
      EXPECT_EQ(wcscasecmp(item.windowClass.text.c_str(), want.className), 0)
          << "class \"" << std::string(item.windowClass.text.begin(), item.windowClass.text.end()) << "\"";
    }
    EXPECT_FALSE(item.title.IsOrdinal());
    EXPECT_EQ(item.title.text, want.text);
    EXPECT_EQ(item.style, want.style) << "got " << Hex(item.style) << ", expected " << Hex(want.style);
    EXPECT_EQ(item.exStyle, 0u) << "got " << Hex(item.exStyle);
    EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}),
              (std::vector<short>{want.x, want.y, want.cx, want.cy}));
    EXPECT_TRUE(item.creationData.empty());
  }
}

TEST(MainDialogTemplate, EveryTruncationFailsCleanly) {
  std::span<const uint8_t> bytes = MainDialogBytes();
  ASSERT_FALSE(bytes.empty());
  for (size_t size = 0; size < bytes.size(); ++size) {
    // An exact-size copy, so that the sanitizer build catches any read past the end.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size));
    DialogTemplate dialog;
    dialog.title = L"untouched";
    EXPECT_FALSE(ParseDialogTemplate(cut, dialog)) << "cut at " << size << " of " << bytes.size();
    EXPECT_EQ(dialog.title, L"untouched") << "a failed parse leaves the output alone";
  }
}

// ---- Hand-built templates ----

TEST(DialogTemplate, ClassicTemplateWithFontMenuClassAndIconItem) {
  TemplateWriter t;
  t.Dword(WS_POPUP | DS_SETFONT).Dword(WS_EX_TOPMOST).Word(2).Place(10, 20, 200, 100);
  t.Ordinal(5).Text(u"ClassicClass").Text(u"Classic").Word(9).Text(u"Tahoma");
  t.Align().Dword(WS_CHILD | WS_VISIBLE).Dword(0).Place(1, 2, 3, 4).Word(0xFFFF);
  t.Ordinal(kStatic).Ordinal(201).Word(0);
  t.Align().Dword(WS_CHILD).Dword(WS_EX_CLIENTEDGE).Place(-5, 6, 7, 8).Word(77);
  t.Text(u"msctls_trackbar32").Text(u"odd").Word(3).Bytes({0xA1, 0xA2, 0xA3});

  DialogTemplate dialog;
  ASSERT_TRUE(ParseDialogTemplate(t.Result(), dialog));
  EXPECT_FALSE(dialog.extended);
  EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | DS_SETFONT)) << "got " << Hex(dialog.style);
  EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_TOPMOST));
  EXPECT_EQ(dialog.cx, 200);
  EXPECT_EQ(dialog.menu.ordinal, 5);
  EXPECT_EQ(dialog.windowClass.text, L"ClassicClass");
  EXPECT_EQ(dialog.title, L"Classic");
  EXPECT_TRUE(dialog.hasFont);
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(dialog.weight, 0) << "a classic template gives no weight";
  EXPECT_EQ(dialog.typeface, L"Tahoma");
  ASSERT_EQ(dialog.items.size(), 2u);
  EXPECT_EQ(dialog.items[0].id, 0xFFFFu) << "a classic id is a WORD";
  EXPECT_EQ(dialog.items[0].windowClass.ordinal, kStatic);
  EXPECT_TRUE(dialog.items[0].title.IsOrdinal());
  EXPECT_EQ(dialog.items[0].title.ordinal, 201) << "an icon control names its icon by id";
  EXPECT_EQ(dialog.items[1].x, -5);
  EXPECT_EQ(dialog.items[1].exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(dialog.items[1].windowClass.text, L"msctls_trackbar32");
  EXPECT_EQ(dialog.items[1].title.text, L"odd");
  EXPECT_EQ(dialog.items[1].creationData, (std::vector<uint8_t>{0xA1, 0xA2, 0xA3}));
}

TEST(DialogTemplate, ExtendedTemplateWithHelpIdsAndCreationDataButNoFont) {
  TemplateWriter t;
  t.Word(1).Word(0xFFFF).Dword(0x1234).Dword(WS_EX_CONTROLPARENT).Dword(WS_POPUP | WS_CAPTION).Word(1);
  t.Place(0, 0, 50, 60).Word(0).Word(0).Text(u"Extended");
  t.Align().Dword(0x99).Dword(0).Dword(WS_CHILD | WS_TABSTOP).Place(1, 1, 20, 10).Dword(0x12345);
  t.Ordinal(kButton).Text(u"OK").Word(2).Bytes({0x01, 0x02});

  DialogTemplate dialog;
  ASSERT_TRUE(ParseDialogTemplate(t.Result(), dialog));
  EXPECT_TRUE(dialog.extended);
  EXPECT_EQ(dialog.helpId, 0x1234u);
  EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
  EXPECT_FALSE(dialog.hasFont);
  EXPECT_EQ(dialog.typeface, L"");
  EXPECT_EQ(dialog.title, L"Extended");
  ASSERT_EQ(dialog.items.size(), 1u);
  EXPECT_EQ(dialog.items[0].helpId, 0x99u);
  EXPECT_EQ(dialog.items[0].id, 0x12345u) << "an extended id is a DWORD";
  EXPECT_EQ(dialog.items[0].title.text, L"OK");
  EXPECT_EQ(dialog.items[0].creationData, (std::vector<uint8_t>{0x01, 0x02}));
}

TEST(DialogTemplate, RejectsMalformedTemplates) {
  auto extended = [](WORD version, WORD items) {
    TemplateWriter t;
    t.Word(version).Word(0xFFFF).Dword(0).Dword(0).Dword(WS_POPUP).Word(items).Place(0, 0, 10, 10);
    t.Word(0).Word(0).Text(u"T");
    t.Align().Dword(0).Dword(0).Dword(WS_CHILD).Place(0, 0, 1, 1).Dword(1).Ordinal(kButton).Text(u"B").Word(0);
    return t.Result();
  };
  DialogTemplate dialog;
  EXPECT_TRUE(ParseDialogTemplate(extended(1, 1), dialog));
  EXPECT_FALSE(ParseDialogTemplate(extended(2, 1), dialog)) << "only version 1 of DLGTEMPLATEEX exists";
  EXPECT_FALSE(ParseDialogTemplate(extended(1, 2), dialog)) << "an item is missing";

  auto creationDataPastTheEnd = extended(1, 1);
  creationDataPastTheEnd[creationDataPastTheEnd.size() - 2] = 4;
  EXPECT_FALSE(ParseDialogTemplate(creationDataPastTheEnd, dialog));

  TemplateWriter unterminatedTitle;
  unterminatedTitle.Dword(WS_POPUP).Dword(0).Word(0).Place(0, 0, 1, 1).Word(0).Word(0).Word('T');
  EXPECT_FALSE(ParseDialogTemplate(unterminatedTitle.Result(), dialog));
}

TEST(DialogTemplate, PredefinedClassNames) {
  const std::pair<WORD, const wchar_t *> cases[] = {
      {0x0080, L"Button"},   {0x0081, L"Edit"},     {0x0082, L"Static"}, {0x0083, L"ListBox"},
      {0x0084, L"ScrollBar"}, {0x0085, L"ComboBox"}, {0x0086, L""},       {0x0000, L""},
  };
  for (const auto &[ordinal, name] : cases) EXPECT_EQ(PredefinedClassName(ordinal), name) << "ordinal " << ordinal;
}

}  // namespace
