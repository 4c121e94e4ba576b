#include "admin/UserLists.h"

#include <algorithm>
#include <utility>

namespace {

const SystemDatabase::ListedUser kNoUser{};

// A row no read has filled: a failed page, or a user gone since the count.
bool isEmptyRow(const SystemDatabase::ListedUser& row)
{
    return row.code == 0 && row.login.isEmpty() && row.firstName.isEmpty();
}

} // namespace

ListedUsers::ListedUsers(Source source, ErrorSink onError) : m_source(std::move(source)), m_onError(std::move(onError))
{
}

void ListedUsers::refill()
{
    m_count = 0;
    m_pages.clear();
    m_gone.clear();
    m_count = SystemDatabase(m_source()).listedUserCount();
    m_pages.resize(size_t(pageCount()));
}

void ListedUsers::readFor(const QString& examCode)
{
    m_exam = examCode;
    forgetFrom(0);
}

void ListedUsers::forgetFrom(int page)
{
    m_pages.resize(size_t(pageCount()));
    for (size_t i = size_t(std::max(0, page)); i < m_pages.size(); ++i)
        m_pages[i] = Page{};
}

void ListedUsers::read(int page)
{
    const int first = page * kPageRows;
    const int take = std::min(kPageRows, m_count - first);
    SystemDatabase system(m_source());
    const Page* before = page > 0 ? &m_pages[size_t(page - 1)] : nullptr;
    const Page* after = page + 1 < pageCount() ? &m_pages[size_t(page + 1)] : nullptr;
    std::vector<Row> rows;
    // Next to a page read, on from its last user (or back from its first);
    // else counted from the nearer end.
    if (before && before->state == Page::State::Read && before->found > 0)
        rows = system.listedUsersAfter(before->rows[size_t(before->found - 1)].code, 0, take, m_exam);
    else if (after && after->state == Page::State::Read && after->found > 0)
        rows = system.listedUsersBefore(after->rows.front().code, 0, take, m_exam);
    else if (first <= m_count - (first + take))
        rows = system.listedUsersAfter(std::nullopt, first, take, m_exam);
    else
        rows = system.listedUsersBefore(std::nullopt, m_count - (first + take), take, m_exam);
    Page& filled = m_pages[size_t(page)];
    filled.found = int(rows.size());
    rows.resize(size_t(take));
    filled.rows = std::move(rows);
    filled.state = Page::State::Read;
}

const ListedUsers::Row& ListedUsers::at(int row)
{
    if (row < 0 || row >= m_count)
        return kNoUser;
    const int page = row / kPageRows;
    if (m_pages[size_t(page)].state != Page::State::Read)
        read(page);
    return m_pages[size_t(page)].rows[size_t(row - page * kPageRows)];
}

const ListedUsers::Row& ListedUsers::shown(int row)
{
    if (row < 0 || row >= m_count)
        return kNoUser;
    const int page = row / kPageRows;
    Page& held = m_pages[size_t(page)];
    if (held.state == Page::State::Unread) {
        try {
            read(page);
        } catch (const std::exception& error) {
            // Drawing never raises; the rows stay empty rather than retry on
            // every paint, each time waiting for a busy file.
            held.state = Page::State::Failed;
            held.found = 0;
            held.rows.assign(size_t(std::min(kPageRows, m_count - page * kPageRows)), Row{});
            if (m_onError)
                m_onError(error);
        }
    }
    return held.rows[size_t(row - page * kPageRows)];
}

int ListedUsers::loadedRowOf(int userCode) const
{
    for (size_t page = 0; page < m_pages.size(); ++page) {
        const Page& held = m_pages[page];
        if (held.state != Page::State::Read)
            continue;
        for (int i = 0; i < held.found; ++i)
            if (held.rows[size_t(i)].code == userCode)
                return int(page) * kPageRows + i;
    }
    return -1;
}

int ListedUsers::rowOf(int userCode)
{
    if (const int loaded = loadedRowOf(userCode); loaded >= 0)
        return loaded;
    const int row = SystemDatabase(m_source()).listedUsersBelow(userCode);
    return row < m_count && at(row).code == userCode ? row : -1;
}

int ListedUsers::rowOfGone(int userCode)
{
    if (m_gone.count(userCode))
        return -1;
    if (const int loaded = loadedRowOf(userCode); loaded >= 0)
        return loaded;
    // His row is where the users below his code end; it cannot be read back.
    const int row = SystemDatabase(m_source()).listedUsersBelow(userCode);
    return row < m_count ? row : -1;
}

void ListedUsers::remove(int row, int userCode)
{
    if (row < 0 || row >= m_count)
        return;
    m_gone.insert(userCode);
    --m_count;
    forgetFrom(row / kPageRows);
}

// ---- models ----

ListedUsersModel::ListedUsersModel(ListedUsers::Source source, ListedUsers::ErrorSink onError, QStringList headings,
                                   QObject* parent)
    : QAbstractTableModel(parent), m_users(std::move(source), std::move(onError)), m_headings(std::move(headings)),
      m_headingTips(m_headings.size())
{
}

void ListedUsersModel::refill()
{
    beginResetModel();
    try {
        refilling();
        m_users.refill();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void ListedUsersModel::removeUser(int userCode)
{
    const int row = m_users.rowOfGone(userCode);
    if (row < 0)
        return;
    beginRemoveRows({}, row, row);
    m_users.remove(row, userCode);
    endRemoveRows();
}

void ListedUsersModel::columnChanged(int column, const QList<int>& roles)
{
    if (m_users.count() > 0)
        emit dataChanged(index(0, column), index(m_users.count() - 1, column), roles);
}

int ListedUsersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_users.count();
}

int ListedUsersModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant ListedUsersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headings[section];
    if (role == Qt::ToolTipRole && !m_headingTips[section].isEmpty())
        return m_headingTips[section];
    return {};
}

bool ListedUsersModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || role != Qt::ToolTipRole || section < 0 || section >= m_headings.size())
        return false;
    m_headingTips[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

UserGridModel::UserGridModel(ListedUsers::Source source, ListedUsers::ErrorSink onError, QObject* parent)
    : ListedUsersModel(std::move(source), std::move(onError),
                       {QStringLiteral("User ID"), QStringLiteral("User Name"), QString()}, parent)
{
}

QVariant UserGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const ListedUsers::Row& user = shown(index.row());
    switch (index.column()) {
    case colLogin:
        return user.login;
    case colFirstName:
        return user.firstName;
    case colCode:
        return isEmptyRow(user) ? QString() : QString::number(user.code);
    default:
        return {};
    }
}

Qt::ItemFlags UserGridModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

UserTickModel::UserTickModel(ListedUsers::Source source, ListedUsers::ErrorSink onError, QObject* parent)
    : ListedUsersModel(std::move(source), std::move(onError),
                       {QStringLiteral("UserName"), QStringLiteral("User Code"), QStringLiteral("Login ID"),
                        QStringLiteral("First Name")},
                       parent)
{
}

void UserTickModel::refilling()
{
    m_byRight = false;
    m_allTicked = true;
    m_ticked.clear();
}

bool UserTickModel::tickOf(const ListedUsers::Row& row) const
{
    const auto set = m_ticked.find(row.code);
    if (set != m_ticked.end())
        return set->second;
    return m_byRight ? row.admitted : m_allTicked;
}

void UserTickModel::tickAll(bool ticked)
{
    m_byRight = false;
    m_allTicked = ticked;
    m_ticked.clear();
    columnChanged(colName, {Qt::CheckStateRole});
}

void UserTickModel::tickAdmittedTo(const QString& examCode)
{
    m_byRight = true;
    m_ticked.clear();
    // The rights come with the rows: those read so far are read again.
    m_users.readFor(examCode);
    if (m_users.count() > 0)
        emit dataChanged(index(0, 0), index(m_users.count() - 1, columnCount() - 1));
}

void UserTickModel::setTicked(int userCode, bool ticked)
{
    m_ticked[userCode] = ticked;
    // A row not read yet shows the tick when it is.
    const int row = m_users.loadedRowOf(userCode);
    if (row >= 0)
        emit dataChanged(index(row, colName), index(row, colName), {Qt::CheckStateRole});
}

bool UserTickModel::isTicked(int row)
{
    return tickOf(m_users.at(row));
}

std::vector<AttachUser> UserTickModel::ticks()
{
    std::vector<AttachUser> users;
    users.reserve(size_t(m_users.count()));
    for (int row = 0; row < m_users.count(); ++row) {
        const ListedUsers::Row& user = m_users.at(row);
        if (!isEmptyRow(user))
            users.push_back({user.code, tickOf(user)});
    }
    return users;
}

QVariant UserTickModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const ListedUsers::Row& user = shown(index.row());
    if (isEmptyRow(user))
        return {};
    if (role == Qt::CheckStateRole)
        return index.column() == colName ? QVariant(int(tickOf(user) ? Qt::Checked : Qt::Unchecked)) : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case colName:
        return user.firstName + QStringLiteral("[ ") + user.login + QStringLiteral(" ]");
    case colCode:
        return QString::number(user.code);
    case colLogin:
        return user.login;
    case colFirstName:
        return user.firstName;
    default:
        return {};
    }
}

bool UserTickModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != colName || role != Qt::CheckStateRole)
        return false;
    const ListedUsers::Row& user = shown(index.row());
    if (isEmptyRow(user))
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    m_ticked[user.code] = ticked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit userTicked(user.code);
    return true;
}

Qt::ItemFlags UserTickModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == colName ? flags | Qt::ItemIsUserCheckable : flags;
}
