#pragma once

#include "admin/ExamAttach.h"
#include "foundation/SystemDatabase.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <exception>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The users the administration window lists (every user but the
// administrator, by code), read a page at a time as they are asked for. A
// refill counts the users; a list reads the rows it shows. So the window
// opens in the same time whatever the number of users, and a list scrolled
// far reads the pages it reaches, from the page next to it where that one is
// read. A row holds its user's code, login and first name as read together.
// The rows are those of the last refill: a user another program adds or
// removes meanwhile can show at the end of the list, or shift the rows that
// follow, until the next one.
class ListedUsers {
public:
    using Row = SystemDatabase::ListedUser;
    // The system database, asked for at every read: the window reopens its
    // connection now and then.
    using Source = std::function<db::Connection&()>;
    // Told of a read that failed while a list was drawn.
    using ErrorSink = std::function<void(const std::exception&)>;
    static constexpr int kPageRows = 64;

    ListedUsers(Source source, ErrorSink onError);

    // Forgets the rows and counts the users again. Database errors reach the
    // caller.
    void refill();
    // The rows read from now on carry the right to this exam ("" none); those
    // read so far are read again when next asked for.
    void readFor(const QString& examCode);
    int count() const { return m_count; }
    // The row, read with its page when it is not yet, also where a read of
    // it failed before. Database errors reach the caller.
    const Row& at(int row);
    // The row as a list draws it: never raises. A failed read is told once
    // and its rows show empty until the next refill.
    const Row& shown(int row);
    // The row of the user among the rows read so far, -1 when none holds
    // him.
    int loadedRowOf(int userCode) const;
    // The same, else looked up in the database; -1 when the user is not
    // listed. Database errors reach the caller.
    int rowOf(int userCode);
    // The row of a user just removed from the database, -1 when he was not
    // listed or his row is out already. Database errors reach the caller.
    int rowOfGone(int userCode);
    // Takes the user's row out, once he is gone from the database.
    void remove(int row, int userCode);

private:
    struct Page {
        enum class State { Unread, Read, Failed } state = State::Unread;
        std::vector<Row> rows; // every row of the page; those beyond `found` empty
        int found = 0;         // rows the read returned
    };
    void read(int page);
    // Pages from this one on are read again when next asked for.
    void forgetFrom(int page);
    int pageCount() const { return (m_count + kPageRows - 1) / kPageRows; }

    Source m_source;
    ErrorSink m_onError;
    QString m_exam;
    int m_count = 0;
    std::vector<Page> m_pages;
    std::unordered_set<int> m_gone; // users whose rows were taken out
};

// The listed users as a table for a view: one row per user, the columns
// the subclass gives. A heading can carry a tip (the column fitter sets one
// where a heading is cut short). Texts go to the view as display data, which
// it draws as plain text.
class ListedUsersModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ListedUsersModel(ListedUsers::Source source, ListedUsers::ErrorSink onError, QStringList headings,
                     QObject* parent = nullptr);

    // The list read afresh. Database errors reach the caller, with the list
    // left empty.
    void refill();
    // The user of a row; database errors reach the caller.
    const ListedUsers::Row& user(int row) { return m_users.at(row); }
    // -1 when the user is not listed.
    int rowOf(int userCode) { return m_users.rowOf(userCode); }
    // Takes the user's row out, once he is gone from the database; a user not
    // listed changes nothing.
    void removeUser(int userCode);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

protected:
    // Within a refill, before the rows are counted.
    virtual void refilling() { }
    const ListedUsers::Row& shown(int row) const { return m_users.shown(row); }
    // Every row's column changed in the roles.
    void columnChanged(int column, const QList<int>& roles);

    mutable ListedUsers m_users; // drawing reads pages
    QStringList m_headings;
    QStringList m_headingTips;
};

// The user list of the user panel (`flexUser`): login, first name, and the
// user code in a column the window hides.
class UserGridModel : public ListedUsersModel {
    Q_OBJECT
public:
    enum Column { colLogin = 0, colFirstName = 1, colCode = 2 };
    UserGridModel(ListedUsers::Source source, ListedUsers::ErrorSink onError, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
};

// The tick list of users of the attach panel (`grdUserList`): first name
// and login ("Ann[ ann ]") with the tick, user code, login, first name. A
// tick is the one all rows were given, or for an attached exam shown the
// user's stored right, unless the administrator or the window ticked the
// user since.
class UserTickModel : public ListedUsersModel {
    Q_OBJECT
public:
    enum Column { colName = 0, colCode = 1, colLogin = 2, colFirstName = 3 };
    UserTickModel(ListedUsers::Source source, ListedUsers::ErrorSink onError, QObject* parent = nullptr);

    // Every row ticked (a refill ticks them too), or none.
    void tickAll(bool ticked);
    // Every row ticked where the user has the right to the exam.
    void tickAdmittedTo(const QString& examCode);
    // One user's tick, set by the window (no userTicked).
    void setTicked(int userCode, bool ticked);
    bool isTicked(int row);
    // Every listed user with his tick, in list order; reads the rows not read
    // yet. Database errors reach the caller.
    std::vector<AttachUser> ticks();

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A tick changed from the view (mouse or keys), already set.
    void userTicked(int userCode);

protected:
    void refilling() override;

private:
    bool tickOf(const ListedUsers::Row& row) const;
    bool m_byRight = false; // ticks from the rights read with the rows
    bool m_allTicked = true;
    std::unordered_map<int, bool> m_ticked; // set since, by user code
};
