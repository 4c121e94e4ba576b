#pragma once

#include <QString>
#include <QVariant>

// The header record of one run of an exam, seen from outside the exam
// window. Every property is a plain stored value: no checks, no side effects.
class AdaptiveExam {
public:
    void setNoOfQuestions(int value) { m_noOfQuestions = value; }
    int NoOfQuestions() const { return m_noOfQuestions; }
    void setisExamPassed(bool value) { m_isExamPassed = value; }
    bool isExamPassed() const { return m_isExamPassed; }
    void setEndTime(const QString& value) { m_endTime = value; }
    QString EndTime() const { return m_endTime; }
    void setStartTime(const QString& value) { m_startTime = value; }
    QString StartTime() const { return m_startTime; }
    // User code of the user who took the exam.
    void setAttentedBy(int value) { m_attentedBy = value; }
    int AttentedBy() const { return m_attentedBy; }
    void setExamTime(int value) { m_examTime = value; }
    int ExamTime() const { return m_examTime; }
    // Difficulty level to start with.
    void setStartDifficult(int value) { m_startDifficult = value; }
    int StartDifficult() const { return m_startDifficult; }
    void setPassMark(double value) { m_passMark = value; }
    double PassMark() const { return m_passMark; }
    void setExamName(const QString& value) { m_examName = value; }
    QString ExamName() const { return m_examName; }
    void setExamCode(const QString& value) { m_examCode = value; }
    QString ExamCode() const { return m_examCode; }

private:
    int m_noOfQuestions = 0;
    bool m_isExamPassed = false;
    QString m_endTime;
    QString m_startTime;
    int m_attentedBy = 0;
    int m_examTime = 0;
    int m_startDifficult = 0;
    double m_passMark = 0.0;
    QString m_examName;
    QString m_examCode;
};

// The record of one question within a run of an exam. Every property is a
// plain stored value: no checks, no side effects.
class QuestionsHist {
public:
    // The answer position or positions the user chose, each followed by ",".
    void setQuestAttentedPos(const QString& value) { m_questAttentedPos = value; }
    QString QuestAttentedPos() const { return m_questAttentedPos; }
    void setisMarked(bool value) { m_isMarked = value; }
    bool isMarked() const { return m_isMarked; }
    void setisPicture(bool value) { m_isPicture = value; }
    bool isPicture() const { return m_isPicture; }
    void setChapterCode(int value) { m_chapterCode = value; }
    int ChapterCode() const { return m_chapterCode; }
    // Times the question was entered and left; empty until set.
    void setQuestEnterTime(const QVariant& value) { m_questEnterTime = value; }
    QVariant QuestEnterTime() const { return m_questEnterTime; }
    void setQuestLeaveTime(const QVariant& value) { m_questLeaveTime = value; }
    QVariant QuestLeaveTime() const { return m_questLeaveTime; }
    void setCategoryCode(int value) { m_categoryCode = value; }
    int CategoryCode() const { return m_categoryCode; }
    void setTimeinSecsTaken(int value) { m_timeinSecsTaken = value; }
    int TimeinSecsTaken() const { return m_timeinSecsTaken; }
    // Position of the question in the exam.
    void setQuestionNoinExam(int value) { m_questionNoinExam = value; }
    int QuestionNoinExam() const { return m_questionNoinExam; }
    // Interactive kind (Qq_InteractiveCode).
    void setInteractiveCode(int value) { m_interactiveCode = value; }
    int InteractiveCode() const { return m_interactiveCode; }
    void setisScenario(bool value) { m_isScenario = value; }
    bool isScenario() const { return m_isScenario; }
    // Question type (Qq_TypeCode): 1 multiple choice, 2 essay, 3 fill in, 4 interactive.
    void setQuestionType(int value) { m_questionType = value; }
    int QuestionType() const { return m_questionType; }
    void setisAnswerdCorrectly(bool value) { m_isAnswerdCorrectly = value; }
    bool isAnswerdCorrectly() const { return m_isAnswerdCorrectly; }
    void setCorrectAnsCode(int value) { m_correctAnsCode = value; }
    int CorrectAnsCode() const { return m_correctAnsCode; }
    // The question was answered.
    void setisAttented(bool value) { m_isAttented = value; }
    bool isAttented() const { return m_isAttented; }
    void setQuestNo(int value) { m_questNo = value; }
    int QuestNo() const { return m_questNo; }
    void setQuestDifficulty(int value) { m_questDifficulty = value; }
    int QuestDifficulty() const { return m_questDifficulty; }
    // Question code (Qq_QuestCode).
    void setQuestCode(int value) { m_questCode = value; }
    int QuestCode() const { return m_questCode; }

private:
    QString m_questAttentedPos;
    bool m_isMarked = false;
    bool m_isPicture = false;
    int m_chapterCode = 0;
    QVariant m_questEnterTime;
    QVariant m_questLeaveTime;
    int m_categoryCode = 0;
    int m_timeinSecsTaken = 0;
    int m_questionNoinExam = 0;
    int m_interactiveCode = 0;
    bool m_isScenario = false;
    int m_questionType = 0;
    bool m_isAnswerdCorrectly = false;
    int m_correctAnsCode = 0;
    bool m_isAttented = false;
    int m_questNo = 0;
    int m_questDifficulty = 0;
    int m_questCode = 0;
};
