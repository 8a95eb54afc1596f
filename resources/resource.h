// Identifiers of the resources and of the controls, shared by the .rc file and the code.
#pragma once

// Dialog templates, cursor and icon.
#define IDD_QUESTION_PANEL 1001
#define IDD_HEADER_PANEL 1002
#define IDC_LINK_CURSOR 1003
#define IDI_LUDEX 1

// The embedded quiz: custom resources of type "PATCH".
#define IDR_QUIZ_PAYLOAD 104
#define IDR_SCORE_CODES 105

// Main window.
#define IDC_CREDIT_LABEL 8000

// Header panel.
#define IDC_WEB_LINK 24
#define IDC_BY_LABEL 25
#define IDC_AUTHOR 26
#define IDC_SAVE_BUTTON 27
#define IDC_EXPLANATION 28
#define IDC_TITLE 29
#define IDC_SCORE_CODE 30
#define IDC_CODE_LABEL 31
#define IDC_SCORE 32
#define IDC_SEPARATOR_SCORE 120
#define IDC_SEPARATOR_LEFT 121
#define IDC_SEPARATOR_RIGHT 122

// Question panel: every row shares the number and question label identifiers;
// answer field k is IDC_ANSWER_BASE + k (k from 1), its feedback label
// IDC_FEEDBACK_BASE + k, and the reveal label of question qi (from 0)
// IDC_REVEAL_BASE + 1 + qi.
#define IDC_NUMBER_LABEL 153
#define IDC_QUESTION_LABEL 3000
#define IDC_ANSWER_BASE 4000
#define IDC_FEEDBACK_BASE 5000
#define IDC_REVEAL_BASE 8000
