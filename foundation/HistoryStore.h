#pragma once

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace db {
class Connection;
}

// A user's exam history in an exam database: the per-question rows of each
// appearance (one exam taken, numbered) in Qe_UserHistoryDetail and the
// per-appearance summary in Qe_UserHistorySummary. Works on the caller's
// connection and inside the caller's transaction; every value is bound.
// Database errors reach the caller (db::DbError).
class HistoryStore {
public:
    explicit HistoryStore(db::Connection& exam);

    // ---- per-question rows (Qe_UserHistoryDetail) ----
    // One question of one appearance; a field left out is stored as NULL.
    struct DetailRow {
        int userCode = 0;
        std::optional<int> questCode{}, appearance{}, catCode{}, chapterCode{};
        std::optional<bool> rightAnswered{};
        std::optional<QString> examDate{}, examMode{}, examCode{}, examTime{};
    };
    void addDetail(const DetailRow& row);

    // The user's appearances, each with its number of question rows, by
    // number; only those numbered above `after` when it is given.
    struct Appearance {
        QVariant number; // Qh_Appearance as stored
        int questions = 0;
    };
    std::vector<Appearance> appearances(int userCode, std::optional<int> after);
    // The category and chapter pairs of one appearance with their number of
    // question rows, by category and chapter.
    struct Group {
        int questions = 0;
        QVariant catCode;     // as stored
        QVariant chapterCode; // as stored
    };
    std::vector<Group> groups(int userCode, const QVariant& appearance);
    // The rows of one group answered right.
    int rightAnswers(int userCode, const QVariant& appearance, const QVariant& catCode, const QVariant& chapterCode);
    // The date, mode, exam code and time of a group's first row (in storage
    // order), as stored; nullopt when the group has no row.
    struct Taken {
        QVariant date, mode, examCode, time;
    };
    std::optional<Taken> taken(int userCode, const QVariant& appearance, const QVariant& catCode,
                               const QVariant& chapterCode);

    // ---- the summary (Qe_UserHistorySummary) ----
    // The user's newest summarised appearance as stored (NULL without a row).
    QVariant lastSummarisedAppearance(int userCode);
    // One summary row: the group's question count and right answers (counts,
    // not percentages); the date and time as ISO text.
    struct SummaryRow {
        QVariant catCode;
        QVariant examDate;
        QVariant examTime;
        int questions = 0;
        int right = 0;
        QVariant examMode;
        QVariant appearance;
        int userCode = 0;
        QVariant examCode;
        QVariant chapterCode;
    };
    void addSummary(const SummaryRow& row);
    // The user's summary rows in storage order.
    std::vector<SummaryRow> summaryRows(int userCode);

private:
    db::Connection& m_exam;
};
