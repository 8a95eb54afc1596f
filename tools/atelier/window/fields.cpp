// The quiz's text fields, its settings, and the length counters: every text
// is checked as it is typed with ludex-pack's own rules (CheckTextUtf8), a
// character the player cannot show is refused with the reason, and a
// counter turns red past 259 bytes.
#include <windows.h>  // before the headers of the common controls and dialogs

#include <commctrl.h>

#include "atelier.h"
#include "cp1252.h"
#include "wide_text.h"

namespace {

// The fields' own state, started afresh with each window.
struct FieldsState {
  std::wstring acceptedText[QuizFieldCount];  // each field's last text without a refused character
  bool overLimit[QuizFieldCount] = {};        // the field's counter is red
  // True while the window writes the fields itself: the EN_CHANGE that
  // SetWindowText sends is no typing to take.
  bool filling = false;
  HBRUSH swatchBrush = nullptr;  // the quiz's background colour, beside its button
  COLORREF swatchColour = 0;
};
FieldsState fields;

struct FieldLabel {
  QuizField field;
  const wchar_t* label;
  bool multiline;
};

const FieldLabel HeaderFields[] = {
    {QuizField::Title, L"&Titre :", false},
    {QuizField::Author, L"A&uteur :", false},
    {QuizField::Explanation, L"E&xplication :", true},
};
const FieldLabel RowFields[] = {
    {QuizField::Question, L"Qu&estion :", true},    {QuizField::Answer1, L"Répon&se :", false},
    {QuizField::Answer2, L"Réponse &2 :", false},   {QuizField::Reveal1, L"Ré&vélation :", true},
    {QuizField::Reveal2, L"Révélati&on 2 :", true}, {QuizField::Code, L"&Code de score :", false},
};

// The reveal modes the player knows; any other plays as 0.
const struct {
  int mode;
  const wchar_t* text;
} RevealModes[] = {
    {0, L"0 : aucun texte révélé"},
    {2, L"2 : le texte d'une question trouvée"},
    {3, L"3 : comme 2, avec un second texte"},
    {4, L"4 : tous les textes, une fois tout trouvé"},
};

// Pasting past this size is cut by the field; the counter already says "too long" far below it.
const int FieldCharacterLimit = 4096;

void CreateField(const FieldLabel& label) {
  const int id = static_cast<int>(label.field);
  AddControl(L"Static", label.label, SS_LEFTNOWORDWRAP, IDC_LABEL_BASE + id);
  // A multi-line field wraps its lines; a one-line field scrolls sideways.
  const DWORD style =
      WS_TABSTOP | (label.multiline ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
  HWND edit = AddControl(L"Edit", L"", style, IDC_FIELD_BASE + id, WS_EX_CLIENTEDGE);
  SendMessageW(edit, EM_LIMITTEXT, FieldCharacterLimit, 0);
  AddControl(L"Static", L"", SS_RIGHT, IDC_COUNTER_BASE + id);
}

HWND Control(int id) { return GetDlgItem(atelier.window, id); }

bool IsRowField(QuizField field) { return IsQuestionField(field); }

bool FieldShown(QuizField field) {
  for (const FieldLabel& label : HeaderFields) {
    if (label.field == field) return true;
  }
  for (const FieldLabel& label : RowFields) {
    if (label.field == field) return true;
  }
  return false;
}

// bytes < 0: the field is not in use.
void ShowCounter(QuizField field, int bytes) {
  const int id = static_cast<int>(field);
  const bool red = bytes > MaxTextLength;
  const std::wstring text = bytes < 0 ? L"—" : std::to_wstring(bytes) + L" / " + std::to_wstring(MaxTextLength);
  HWND counter = Control(IDC_COUNTER_BASE + id);
  if (WindowText(counter) != text) SetWindowTextW(counter, text.c_str());
  if (fields.overLimit[id] != red) {
    fields.overLimit[id] = red;
    InvalidateRect(counter, nullptr, TRUE);
  }
}

// The first character of text that Windows-1252 lacks, as the rules count
// it: line (from 0) and column (from 1) in code points; false when none.
bool FindRefusedCharacter(const std::wstring& text, int& line, int& column) {
  line = 0;
  column = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c == L'\n') {
      ++line;
      column = 1;
      continue;
    }
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    if (IS_HIGH_SURROGATE(c) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (IS_HIGH_SURROGATE(c) || IS_LOW_SURROGATE(c)) {
      return true;  // a lone half of a pair: no character at all
    }
    if (Cp1252FromCodePoint(c) < 0) return true;
    ++column;
  }
  return false;
}

// Puts the field back as it was before the refused character, and says why.
void Refuse(QuizField field, const std::wstring& typed, const TextCheck& check, int line, int column) {
  HWND edit = FieldWindow(field);
  const std::wstring& accepted = fields.acceptedText[static_cast<int>(field)];
  size_t same = 0;
  while (same < accepted.size() && same < typed.size() && accepted[same] == typed[same]) ++same;
  fields.filling = true;
  SetWindowTextW(edit, accepted.c_str());
  fields.filling = false;
  SendMessageW(edit, EM_SETSEL, same, same);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);

  std::string reason = "caractère impossible à afficher";
  for (const TextProblem& problem : check.problems) {
    if (problem.line == line && problem.column == column) {
      reason = ProblemText(problem.column, problem.message);
      break;
    }
  }
  SetStatus(L"Refusé dans " + FieldName(field) + L" : " + WideFromCp1252(reason));
  MessageBeep(MB_ICONWARNING);
}

void TakeTypedText(QuizField field) {
  if (fields.filling) return;
  const std::wstring typed = WindowText(FieldWindow(field));
  const TextCheck check = CheckTextUtf8(field, Utf8FromWide(typed));
  int line = 0, column = 0;
  if (FindRefusedCharacter(typed, line, column)) {
    Refuse(field, typed, check, line, column);
    return;
  }
  fields.acceptedText[static_cast<int>(field)] = typed;
  ShowCounter(field, static_cast<int>(check.bytes.size()));
  const int row = IsRowField(field) ? atelier.shownRow : -1;
  if (IsRowField(field) && row < 0) return;
  if (atelier.document.typeText(field, row, check.bytes)) AfterTyping(field);
}

void FillRevealModes(int mode) {
  HWND combo = Control(IDC_REVEAL_MODE);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  int selected = -1;
  for (const auto& choice : RevealModes) {
    const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.text));
    SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), choice.mode);
    if (choice.mode == mode) selected = static_cast<int>(index);
  }
  if (selected < 0) {  // a mode from a hand-written source, kept as it is
    const std::wstring text = std::to_wstring(mode) + L" : sans effet, comme 0";
    selected = static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(selected), mode);
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CreateSwatchBrush(COLORREF colour) {
  DeleteSwatchBrush();
  fields.swatchBrush = CreateSolidBrush(colour);
  fields.swatchColour = colour;
}

void ShowSettings() {
  const AuthoredQuiz& quiz = atelier.document.quiz();
  SendMessageW(Control(IDC_ANSWER_COUNT), CB_SETCURSEL, quiz.answersPerQuestion - MinAnswersPerQuestion, 0);
  FillRevealModes(quiz.revealMode);
  const COLORREF colour = RGB(quiz.red, quiz.green, quiz.blue);
  if (fields.swatchBrush == nullptr || colour != fields.swatchColour) {
    CreateSwatchBrush(colour);
    InvalidateRect(Control(IDC_COLOUR_SWATCH), nullptr, TRUE);
  }
}

void ShowRowLabel() {
  const int count = atelier.document.questionCount();
  std::wstring text;
  if (atelier.shownRow < 0) {
    text = L"Aucune question choisie : ajoutez-en une (Inser) ou choisissez-en une dans la liste.";
  } else {
    text = L"Question " + std::to_wstring(atelier.shownRow + 1) + L" sur " + std::to_wstring(count);
    const size_t selected = atelier.document.selection().size();
    if (selected > 1) text += L" (" + std::to_wstring(selected) + L" questions sélectionnées)";
  }
  HWND label = Control(IDC_ROW_LABEL);
  if (WindowText(label) != text) SetWindowTextW(label, text.c_str());
}

}  // namespace

HWND FieldWindow(QuizField field) { return Control(IDC_FIELD_BASE + static_cast<int>(field)); }

bool IsMultilineField(HWND control) {
  const int id = GetDlgCtrlID(control) - IDC_FIELD_BASE;
  if (GetParent(control) != atelier.window || id < 0 || id >= QuizFieldCount) return false;
  return (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0;
}

void CreateHeaderControls() {
  DeleteSwatchBrush();
  fields = FieldsState();
  for (const FieldLabel& label : HeaderFields) CreateField(label);
  AddControl(L"Static", L"Ré&ponses par question :", SS_LEFTNOWORDWRAP, IDC_ANSWER_COUNT_LABEL);
  HWND answers = AddControl(L"ComboBox", L"", WS_TABSTOP | CBS_DROPDOWNLIST, IDC_ANSWER_COUNT);
  for (int count = MinAnswersPerQuestion; count <= MaxAnswersPerQuestion; ++count) {
    SendMessageW(answers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(count).c_str()));
  }
  AddControl(L"Static", L"&Mode de révélation :", SS_LEFTNOWORDWRAP, IDC_REVEAL_MODE_LABEL);
  AddControl(L"ComboBox", L"", WS_TABSTOP | CBS_DROPDOWNLIST, IDC_REVEAL_MODE);
  AddControl(L"Static", L"Couleur de fond :", SS_LEFTNOWORDWRAP, IDC_COLOUR_LABEL);
  AddControl(L"Static", L"", WS_BORDER, IDC_COLOUR_SWATCH);
  AddControl(L"Button", L"C&hoisir…", WS_TABSTOP, IDM_COLOUR);
}

void CreateRowFields() {
  AddControl(L"Static", L"", SS_NOPREFIX, IDC_ROW_LABEL);
  for (const FieldLabel& label : RowFields) CreateField(label);
}

void ShowFields() {
  const QuizDocument& document = atelier.document;
  const AuthoredQuiz& quiz = document.quiz();
  atelier.shownRow = document.selection().empty() ? -1 : document.selection().front();
  fields.filling = true;
  for (int id = 0; id < QuizFieldCount; ++id) {
    const QuizField field = static_cast<QuizField>(id);
    if (!FieldShown(field)) continue;
    const bool rowMissing = IsRowField(field) && atelier.shownRow < 0;
    const std::string& bytes = document.text(field, atelier.shownRow);
    const std::wstring text = rowMissing ? L"" : WideFromCp1252(bytes);
    HWND edit = FieldWindow(field);
    if (WindowText(edit) != text) {
      SetWindowTextW(edit, text.c_str());
      // An undo in the field being typed in: the caret goes on at the end of its text.
      if (GetFocus() == edit) SendMessageW(edit, EM_SETSEL, text.size(), text.size());
    }
    fields.acceptedText[id] = text;
    const bool inUse = !rowMissing && FieldInUse(field, quiz.answersPerQuestion, quiz.revealMode);
    EnableWindow(edit, inUse);
    EnableWindow(Control(IDC_LABEL_BASE + id), inUse);
    ShowCounter(field, inUse ? static_cast<int>(bytes.size()) : -1);
  }
  fields.filling = false;
  ShowSettings();
  ShowRowLabel();
}

bool IsFieldsCommand(int id) {
  return (id >= IDC_FIELD_BASE && id < IDC_FIELD_BASE + QuizFieldCount) || id == IDC_ANSWER_COUNT ||
         id == IDC_REVEAL_MODE;
}

void MsgFieldCommand(int id, int code) {
  QuizDocument& document = atelier.document;
  if (id == IDC_ANSWER_COUNT && code == CBN_SELCHANGE) {
    const LRESULT index = SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
    if (document.setAnswersPerQuestion(static_cast<int>(index) + MinAnswersPerQuestion)) AfterChange();
  } else if (id == IDC_REVEAL_MODE && code == CBN_SELCHANGE) {
    const LRESULT index = SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
    const LRESULT mode = SendMessageW(Control(id), CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (index != CB_ERR && document.setRevealMode(static_cast<int>(mode))) AfterChange();
  } else if (id >= IDC_FIELD_BASE && id < IDC_FIELD_BASE + QuizFieldCount) {
    const QuizField field = static_cast<QuizField>(id - IDC_FIELD_BASE);
    if (code == EN_CHANGE) TakeTypedText(field);
    // Leaving a field closes its typing: the next keystrokes there are a new undo step.
    if (code == EN_KILLFOCUS) document.endTyping();
  }
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
  if (atelier.document.setColour(GetRValue(colour), GetGValue(colour), GetBValue(colour))) AfterChange();
}

void DeleteSwatchBrush() {
  if (fields.swatchBrush != nullptr) DeleteObject(fields.swatchBrush);
  fields.swatchBrush = nullptr;
}
