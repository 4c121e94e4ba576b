#pragma once

#include "foundation/ExamRecords.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

class GridPanes;

// What the exam window's answer controls hold for the question on screen.
struct AnswerControls {
    // A choice of a multiple-choice question; it is right when its tag is "Y".
    struct Choice {
        bool chosen = false;
        QString tag;
    };
    // One blank of a fill-in question; the tag holds the accepted text.
    struct FillIn {
        QString text;
        QString tag;
    };

    bool optionButtonsVisible = false; // option button 0 shows: one answer, else check boxes
    std::vector<Choice> OptMultAnswer; // option buttons
    std::vector<Choice> chkMultAnswer; // check boxes
    std::vector<FillIn> txtFillin;
    QString txtMultilineEssay;
    bool Check1 = false; // the question is marked for review
};

// The answers kept per question number outside the per-question list, each
// array indexed from 0.
struct PreviousAnswers {
    std::vector<QString> gPrevQuestType; // the question's type as text, "1" to "4"
    std::vector<int> gPrevQuestCode;
    std::vector<QString> gPrevChoiceList; // check boxes: each ticked position followed by ","
    std::vector<QString> gPrevChoice;     // option buttons: the chosen position
    std::vector<QString> gPrevFillText;   // each blank's trimmed text followed by a carriage return
    std::vector<QString> gPrevEssayText;
    // The grid panes of the interactive question last copied, one entry per
    // grid row.
    QStringList gPrevOrderList;
    QStringList gPrevTreeList;
    QStringList gPrevPlaceList;

    // Makes every per-question array hold `count` questions, numbered 0 to
    // count - 1, all empty.
    void dimension(int count);
};

// Records the answer on screen, read from the answer controls and the grid
// panes, outside the per-question list: into the last record of the
// question history, or into the arrays kept per question number. A record
// or question number that does not exist is refused (false) and logged.
class ResponseRecorder {
public:
    // `examConnStr` opens the exam database for an interactive question's
    // kind. Every reference must outlive the recorder.
    ResponseRecorder(std::vector<QuestionsHist>& gQuestHistory, PreviousAnswers& previous, const GridPanes& panes,
                     QString examConnStr);

    // Writes the leave time, the mark and, for multiple choice and fill in,
    // the positions answered, whether answered and whether right, into the
    // last history record. False without a record.
    bool SaveQuestionResponse(const AnswerControls& controls, const QDateTime& now);
    // Copies the answer of question number `index` into the arrays by its
    // type. False when `index` lies outside the arrays, when a blank of a
    // fill-in question is empty (the blanks before it are copied), or when
    // the exam database cannot be read; true otherwise.
    bool CorrectAnsCheckPrevious(int index, const AnswerControls& controls);

private:
    std::vector<QuestionsHist>& m_history;
    PreviousAnswers& m_previous;
    const GridPanes& m_panes;
    QString m_examConnStr;
};
