// The quiz's text fields, its settings and the length counters. What the
// author types goes to the session, which takes it or refuses a character
// the player cannot show (the field then goes back); the counters, their
// red, which fields are in use and every text come from the session.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "atelier.h"
#include "wide_text.h"

namespace {

// The fields' own state, started afresh with each window.
struct FieldsState {
  bool overLimit[QuizFieldCount] = {};  // the field's counter is red
  // True while the window writes the fields itself: the EN_CHANGE that
  // SetWindowText sends is no typing to take.
  bool filling = false;
  HBRUSH swatchBrush = nullptr;  // the quiz's background colour, beside its button
  COLORREF swatchColour = 0;
  std::vector<std::string> revealChoices;
};
FieldsState fields;

void CreateField(const FieldDisplay& display) {
  const int id = static_cast<int>(display.field);
  AddControl(L"Static", WideFromUtf8(display.label).c_str(), SS_LEFTNOWORDWRAP, IDC_LABEL_BASE + id);
  // A multi-line field wraps its lines; a one-line field scrolls sideways.
  const DWORD style =
      WS_TABSTOP | (display.multiline ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
  HWND edit = AddControl(L"Edit", L"", style, IDC_FIELD_BASE + id, WS_EX_CLIENTEDGE);
  SendMessageW(edit, EM_LIMITTEXT, FieldCharacterLimit, 0);
  AddControl(L"Static", L"", SS_RIGHT, IDC_COUNTER_BASE + id);
}

HWND Control(int id) { return GetDlgItem(atelier.window, id); }

void SetText(HWND control, const std::wstring& text) {
  if (WindowText(control) != text) SetWindowTextW(control, text.c_str());
}

void ShowCounter(QuizField field) {
  const int id = static_cast<int>(field);
  SetText(Control(IDC_COUNTER_BASE + id), WideFromUtf8(atelier.session->counter(field)));
  const bool red = atelier.session->counterOverLimit(field);
  if (fields.overLimit[id] != red) {
    fields.overLimit[id] = red;
    InvalidateRect(Control(IDC_COUNTER_BASE + id), nullptr, TRUE);
  }
}

// A field's text as the session gives it; an undo in the field being typed
// in puts the caret at the end of its text.
void ShowField(QuizField field) {
  const int id = static_cast<int>(field);
  HWND edit = FieldWindow(field);
  const std::wstring text = WideFromUtf8(atelier.session->fieldText(field));
  if (WindowText(edit) != text) {
    SetWindowTextW(edit, text.c_str());
    if (GetFocus() == edit) SendMessageW(edit, EM_SETSEL, text.size(), text.size());
  }
  const bool inUse = atelier.session->fieldEnabled(field);
  EnableWindow(edit, inUse);
  EnableWindow(Control(IDC_LABEL_BASE + id), inUse);
  ShowCounter(field);
}

// The field shows the text the session kept, the caret after what changed.
void PutBack(QuizField field, const std::wstring& typed, const std::string& text) {
  HWND edit = FieldWindow(field);
  const std::wstring accepted = WideFromUtf8(text);
  size_t same = 0, sameEnd = 0;
  while (same < accepted.size() && same < typed.size() && accepted[same] == typed[same]) ++same;
  while (sameEnd < accepted.size() - same && sameEnd < typed.size() - same &&
         accepted[accepted.size() - 1 - sameEnd] == typed[typed.size() - 1 - sameEnd]) {
    ++sameEnd;
  }
  const size_t caret = accepted.size() - sameEnd;
  fields.filling = true;
  SetWindowTextW(edit, accepted.c_str());
  fields.filling = false;
  SendMessageW(edit, EM_SETSEL, caret, caret);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
  MessageBeep(MB_ICONWARNING);
}

// What the author typed goes to the session; false when the window wrote the field itself.
bool TakeTypedText(QuizField field) {
  if (fields.filling) return false;
  const std::wstring typed = WindowText(FieldWindow(field));
  const TypingResult result = atelier.session->typeInto(field, Utf8FromWide(typed));
  if (result.changed) PutBack(field, typed, result.text);
  return true;
}

void FillCombo(HWND combo, const std::vector<std::string>& choices, int chosen) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const std::string& choice : choices) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(choice).c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void ShowSettings() {
  const EditorSession& session = *atelier.session;
  SendMessageW(Control(IDC_ANSWER_COUNT), CB_SETCURSEL, static_cast<WPARAM>(session.answersChoice()), 0);
  const std::vector<std::string> reveal = session.revealModeChoices();
  if (reveal != fields.revealChoices) {
    fields.revealChoices = reveal;
    FillCombo(Control(IDC_REVEAL_MODE), reveal, session.revealModeChoice());
  }
  SendMessageW(Control(IDC_REVEAL_MODE), CB_SETCURSEL, static_cast<WPARAM>(session.revealModeChoice()), 0);
  uint8_t red, green, blue;
  session.colour(red, green, blue);
  const COLORREF colour = RGB(red, green, blue);
  if (fields.swatchBrush == nullptr || colour != fields.swatchColour) {
    if (fields.swatchBrush != nullptr) DeleteObject(fields.swatchBrush);
    fields.swatchBrush = CreateSolidBrush(colour);
    fields.swatchColour = colour;
    InvalidateRect(Control(IDC_COLOUR_SWATCH), nullptr, TRUE);
  }
}

// "Suggestions : Chine, Egypte", each a link the author takes with a click or Enter.
void ShowSuggestions(QuizField answer) {
  HWND link = Control(IDC_SUGGESTIONS_BASE + (answer == QuizField::Answer2));
  const std::vector<std::string> offered = atelier.session->suggestions(answer);
  std::wstring text;
  for (size_t k = 0; k < offered.size(); ++k) {
    std::wstring shown = WideFromUtf8(offered[k]);
    std::replace(shown.begin(), shown.end(), L'<', L'\u2039');  // the link's own markup
    text += (k == 0 ? WideFromUtf8(SuggestionsLabel) + L" " : L", ") +
            (L"<a id=\"" + std::to_wstring(k) + L"\">" + shown + L"</a>");
  }
  SetText(link, text);
  EnableWindow(link, !offered.empty());
}

}  // namespace

bool IsSuggestionLink(int id) { return id == IDC_SUGGESTIONS_BASE || id == IDC_SUGGESTIONS_BASE + 1; }

void TakeSuggestion(int id, int index) {
  atelier.session->takeSuggestion(id == IDC_SUGGESTIONS_BASE ? QuizField::Answer1 : QuizField::Answer2, index);
}

HWND FieldWindow(QuizField field) { return Control(IDC_FIELD_BASE + static_cast<int>(field)); }

bool IsMultilineField(HWND control) {
  const int id = GetDlgCtrlID(control) - IDC_FIELD_BASE;
  if (GetParent(control) != atelier.window || id < 0 || id >= QuizFieldCount) return false;
  return (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0;
}

void CreateHeaderControls() {
  EndFields();
  for (const FieldDisplay& display : HeaderFieldDisplays) CreateField(display);
  AddControl(L"Static", WideFromUtf8(AnswersLabel).c_str(), SS_LEFTNOWORDWRAP, IDC_ANSWER_COUNT_LABEL);
  HWND answers = AddControl(L"ComboBox", L"", WS_TABSTOP | CBS_DROPDOWNLIST, IDC_ANSWER_COUNT);
  FillCombo(answers, atelier.session->answersChoices(), atelier.session->answersChoice());
  AddControl(L"Static", WideFromUtf8(RevealModeLabel).c_str(), SS_LEFTNOWORDWRAP, IDC_REVEAL_MODE_LABEL);
  AddControl(L"ComboBox", L"", WS_TABSTOP | CBS_DROPDOWNLIST, IDC_REVEAL_MODE);
  AddControl(L"Static", WideFromUtf8(ColourLabel).c_str(), SS_LEFTNOWORDWRAP, IDC_COLOUR_LABEL);
  AddControl(L"Static", L"", WS_BORDER, IDC_COLOUR_SWATCH);
  AddControl(L"Button", WideFromUtf8(WindowButtonText(InfoOf(Command::ChooseColour))).c_str(), WS_TABSTOP,
             CommandId(Command::ChooseColour));
}

void CreateRowFields() {
  AddControl(L"Static", L"", SS_NOPREFIX, IDC_ROW_LABEL);
  for (const FieldDisplay& display : RowFieldDisplays) {
    CreateField(display);
    if (IsAcceptedField(display.field)) {  // its suggestions, next in the tab order
      AddControl(WC_LINK, L"", WS_TABSTOP, IDC_SUGGESTIONS_BASE + (display.field == QuizField::Accepted2));
    }
  }
}

void ShowFields() {
  fields.filling = true;
  for (const FieldDisplay& display : HeaderFieldDisplays) ShowField(display.field);
  for (const FieldDisplay& display : RowFieldDisplays) ShowField(display.field);
  fields.filling = false;
  ShowSuggestions(QuizField::Answer1);
  ShowSuggestions(QuizField::Answer2);
  ShowSettings();
  SetText(Control(IDC_ROW_LABEL), WideFromUtf8(atelier.session->rowLabel()));
}

bool IsFieldsCommand(int id) {
  return (id >= IDC_FIELD_BASE && id < IDC_FIELD_BASE + QuizFieldCount) || id == IDC_ANSWER_COUNT ||
         id == IDC_REVEAL_MODE;
}

bool MsgFieldCommand(int id, int code) {
  EditorSession& session = *atelier.session;
  if ((id == IDC_ANSWER_COUNT || id == IDC_REVEAL_MODE) && code == CBN_SELCHANGE) {
    const int chosen = static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
    if (id == IDC_ANSWER_COUNT) session.chooseAnswersPerQuestion(chosen);
    if (id == IDC_REVEAL_MODE) session.chooseRevealMode(chosen);
    return true;
  }
  if (id < IDC_FIELD_BASE || id >= IDC_FIELD_BASE + QuizFieldCount) return false;
  const QuizField field = static_cast<QuizField>(id - IDC_FIELD_BASE);
  // Leaving a field closes its typing: the next keystrokes there are a new undo step.
  if (code == EN_KILLFOCUS) session.endTyping();
  return code == EN_CHANGE && TakeTypedText(field);
}

LRESULT MsgCtlColorStatic(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == IDC_COLOUR_SWATCH && fields.swatchBrush != nullptr) {
    SetBkColor(dc, fields.swatchColour);
    return reinterpret_cast<LRESULT>(fields.swatchBrush);
  }
  if (id >= IDC_COUNTER_BASE && id < IDC_COUNTER_BASE + QuizFieldCount) {
    SetTextColor(dc, fields.overLimit[id - IDC_COUNTER_BASE] ? ErrorRed : GetSysColor(COLOR_WINDOWTEXT));
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void ChooseBackgroundColour() {
  static COLORREF customColours[16] = {};
  CHOOSECOLORW choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = atelier.window;
  choice.rgbResult = fields.swatchColour;
  choice.lpCustColors = customColours;
  choice.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&choice)) return;
  const COLORREF colour = choice.rgbResult;
  atelier.session->setColour(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

void EndFields() {
  if (fields.swatchBrush != nullptr) DeleteObject(fields.swatchBrush);
  fields = FieldsState();
}
