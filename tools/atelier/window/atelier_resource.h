// Identifiers of Ludex Atelier's resources, menu commands and controls,
// shared by atelier.rc and the code.
#pragma once

// Resources.
#define IDI_ATELIER 1
#define IDR_PLAYER 200  // the player (the stripped ludex.exe of the same build), RCDATA
#define IDD_SAVE_CHANGES 310
#define IDD_IMPORT_PREVIEW 311

// Commands, from the menu, the accelerators and the buttons of the same name:
// IDM_COMMAND_BASE + the Command (commands.h).
#define IDM_COMMAND_BASE 1000
#define IDM_RECENT_BASE 1100  // + the place of a file in the list of the last files

// Main window: each text field of the quiz is IDC_FIELD_BASE + its QuizField,
// with its label at IDC_LABEL_BASE + and its length counter at IDC_COUNTER_BASE +.
#define IDC_FIELD_BASE 2000
#define IDC_LABEL_BASE 2100
#define IDC_COUNTER_BASE 2200
#define IDC_ANSWER_COUNT 2300
#define IDC_ANSWER_COUNT_LABEL 2301
#define IDC_REVEAL_MODE 2302
#define IDC_REVEAL_MODE_LABEL 2303
#define IDC_COLOUR_LABEL 2304
#define IDC_COLOUR_SWATCH 2305
#define IDC_LIST_LABEL 2306
#define IDC_QUESTION_LIST 2307
#define IDC_ROW_LABEL 2308
#define IDC_PROBLEMS_LABEL 2309
#define IDC_PROBLEMS 2310
#define IDC_STATUS 2311
#define IDC_SUGGESTIONS_BASE 2320  // + 0 or 1: the accepted answers suggested for the first or second answer

// The question before closing over unsaved work (IDYES, IDNO, IDCANCEL answer it).
#define IDC_SAVE_QUESTION 3001

// The preview of rows pasted or imported.
#define IDC_PREVIEW_SUMMARY 3010
#define IDC_PREVIEW_LIST 3011
#define IDC_PREVIEW_NOTES 3012
#define IDC_PREVIEW_DETAIL 3013
#define IDC_PREVIEW_COLUMN 3014  // the column the field chooser is about
#define IDC_PREVIEW_FIELD 3015   // the field that column goes in
#define IDC_PREVIEW_SWITCH 3016  // the offer to switch the quiz's reveal mode

// Timers of the main window.
#define IDT_RECOVERY 1
#define IDT_SIZE_CHECK 2
