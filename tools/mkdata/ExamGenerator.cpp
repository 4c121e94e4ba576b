#include "tools/mkdata/ExamGenerator.h"

#include "foundation/ExamBankWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

struct Topic {
    const char* category;
    std::array<const char*, 3> chapters;
    std::array<const char*, 8> terms; // words the question texts are made of
};

const std::array<Topic, 8> kTopics = {{
    {"Networking Fundamentals",
     {"Addressing and Subnets", "Routing", "Name Resolution"},
     {"subnet mask", "default gateway", "DNS resolver", "ARP cache", "VLAN tag", "MTU", "NAT rule", "DHCP lease"}},
    {"Storage and Filesystems",
     {"Partitions", "Logical Volumes", "Backups"},
     {"partition table", "logical volume", "inode", "journal", "snapshot", "RAID array", "mount option", "quota"}},
    {"Security",
     {"Authentication", "Encryption", "Hardening"},
     {"password hash", "public key", "certificate", "firewall rule", "audit log", "sudo policy", "TLS cipher",
      "PAM module"}},
    {"Databases",
     {"Queries", "Transactions", "Indexes"},
     {"primary key", "foreign key", "index", "transaction", "isolation level", "join", "view", "deadlock"}},
    {"Virtualisation and Containers",
     {"Hypervisors", "Containers", "Orchestration"},
     {"hypervisor", "container image", "namespace", "cgroup", "virtual switch", "volume mount", "registry", "pod"}},
    {"Scripting and Automation",
     {"Shell", "Scheduling", "Configuration Management"},
     {"exit status", "here document", "cron job", "systemd timer", "playbook", "idempotent task",
      "environment variable", "regular expression"}},
    {"Monitoring and Logging",
     {"Metrics", "Logs", "Alerting"},
     {"load average", "log rotation", "journal field", "metric exporter", "alert threshold", "syslog facility", "trace",
      "dashboard"}},
    {"Web Services",
     {"HTTP", "Reverse Proxies", "Performance"},
     {"status code", "virtual host", "reverse proxy", "cache header", "keep-alive", "load balancer", "cookie",
      "rate limit"}},
}};

const std::array<const char*, 6> kStems = {
    "Which statement about the %1 is true?",
    "An administrator must change the %1 on a production system. What should be done first?",
    "Which tool shows the current %1?",
    "What is the main purpose of a %1?",
    "A colleague reports a problem with the %1. Which cause is most likely?",
    "Which setting controls the %1?",
};

enum Kind { ChoiceOne, ChoiceMany, Essay, FillOne, FillTwo, OrderedList, Tree, SelectPlace, KindCount };

// Share of each kind in a bank, in percent.
constexpr std::array<int, KindCount> kKindWeights = {42, 13, 10, 10, 5, 7, 6, 7};

class Generator {
public:
    Generator(db::Connection& exam, unsigned seed) : m_random(seed), m_bank(exam) { }

    void run(int questionCount, unsigned seed);

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    // 0 to n - 1 in a random order that is never the identity (for n > 1),
    // so a list is never offered already solved.
    std::vector<int> shuffledOrder(int n);
    Kind pickKind();
    QString term(int category) { return QString::fromLatin1(kTopics[size_t(category)].terms[size_t(pick(8))]); }
    void writeQuestion(int code, int category);
    void writeChoices(int code, int category, bool several);
    void writeOrderedList(int code, int category);
    void writeTree(int code, int category);
    void writeSelectPlace(int code, int category);
    void writeDirectives(int questionCount);

    std::mt19937 m_random;
    ExamBankWriter m_bank;
    int m_categories = 0;
    int m_scenarios = 0;
    // Questions of each type 1 to 4 per category, for the directives.
    std::vector<std::array<int, 4>> m_perType;
};

std::vector<int> Generator::shuffledOrder(int n)
{
    std::vector<int> order;
    for (int i = 0; i < n; ++i)
        order.push_back(i);
    std::shuffle(order.begin(), order.end(), m_random);
    if (n > 1 && std::is_sorted(order.begin(), order.end()))
        std::swap(order[0], order[1]);
    return order;
}

Kind Generator::pickKind()
{
    int roll = pick(100);
    for (int kind = 0; kind < KindCount; ++kind) {
        roll -= kKindWeights[size_t(kind)];
        if (roll < 0)
            return Kind(kind);
    }
    return ChoiceOne;
}

void Generator::writeChoices(int code, int category, bool several)
{
    const int count = 3 + pick(5); // 3 to 7 choices
    std::vector<bool> right(size_t(count), false);
    right[size_t(pick(count))] = true;
    if (several)
        right[size_t((std::find(right.begin(), right.end(), true) - right.begin() + 1 + pick(count - 1)) % count)] =
            true;
    for (int i = 0; i < count; ++i)
        m_bank.addChoice(
            {code, i + 1,
             QStringLiteral("The %1 %2 (option %3)")
                 .arg(term(category),
                      right[size_t(i)] ? QStringLiteral("is applied at once") : QStringLiteral("needs a reboot"))
                 .arg(i + 1),
             right[size_t(i)]});
}

void Generator::writeOrderedList(int code, int category)
{
    const int count = 3 + pick(4);
    const std::vector<int> shown = shuffledOrder(count);
    const QString what = term(category);
    for (int i = 0; i < count; ++i)
        m_bank.addInteractiveRow({code,
                                  QStringLiteral("Step %1 for the %2").arg(shown[size_t(i)] + 1).arg(what),
                                  i + 1,
                                  QStringLiteral("Step %1 for the %2").arg(i + 1).arg(what),
                                  i + 1,
                                  {}});
}

void Generator::writeTree(int code, int category)
{
    const int nodes = 2 + pick(2);
    const int leavesPerNode = 2;
    const int leaves = nodes * leavesPerNode;
    const std::vector<int> shown = shuffledOrder(leaves);
    const QString root = QString::fromLatin1(kTopics[size_t(category)].category);
    auto nodeText = [&](int n) { return QStringLiteral("Group %1").arg(QChar(u'A' + n)); };
    auto leafText = [&](int l) { return QStringLiteral("Item %1").arg(l + 1); };
    for (int row = 0; row < std::max(nodes, leaves); ++row)
        m_bank.addInteractiveRow({code, row < nodes ? nodeText(row) : QString(), row + 1,
                                  row < leaves ? leafText(shown[size_t(row)]) : QString(), row + 1, root});
    for (int l = 0; l < leaves; ++l)
        m_bank.addInteractiveAnswer({code, leafText(l), l + 1, nodeText(l / leavesPerNode), l / leavesPerNode + 1});
}

void Generator::writeSelectPlace(int code, int category)
{
    const int count = 3 + pick(3);
    const std::vector<int> shown = shuffledOrder(count);
    const QString what = term(category);
    auto item = [&](int i) { return QStringLiteral("Value %1").arg(i + 1); };
    auto place = [&](int i) { return QStringLiteral("Place %1 of the %2").arg(i + 1).arg(what); };
    for (int i = 0; i < count; ++i)
        m_bank.addInteractiveRow({code, item(shown[size_t(i)]), i + 1, place(i), i + 1, {}});
    for (int i = 0; i < count; ++i)
        m_bank.addInteractiveAnswer({code, place(i), i + 1, item(i), i + 1});
}

void Generator::writeQuestion(int code, int category)
{
    // The first questions take each kind once, so every bank of eight or
    // more questions holds every type and interactive kind.
    const Kind kind = code <= KindCount ? Kind(code - 1) : pickKind();
    const int chapterSlot = pick(4); // 3 = directly under the category
    const int chapter = chapterSlot < 3 ? (category + 1) * 10 + chapterSlot + 1 : 0;
    const int difficulty = 1 + pick(3);
    const bool scenario = m_scenarios > 0 && pick(25) == 0;
    const int scenarioId = scenario ? 1 + pick(m_scenarios) : 0;
    const QString subject = term(category);
    QString text = QString::fromLatin1(kStems[size_t(pick(int(kStems.size())))]).arg(subject);
    const QString explanation =
        QStringLiteral("The %1 is covered in chapter %2 of the <a href=\"https://docs.example.org/%3\">reference "
                       "guide</a>.\r\nRead it again if this answer surprised you.")
            .arg(subject)
            .arg(chapter)
            .arg(code);

    int type = 1;
    int interactive = 0;
    std::optional<QString> modelAnswer;
    switch (kind) {
    case ChoiceOne:
    case ChoiceMany:
        type = 1;
        break;
    case Essay:
        type = 2;
        modelAnswer = QStringLiteral("The %1 must be planned, tested and documented before it is changed, because "
                                     "other services depend on it.")
                          .arg(subject);
        text = QStringLiteral("Explain in a few sentences how you would change the %1 safely.").arg(subject);
        break;
    case FillOne:
    case FillTwo:
        type = 3;
        text = kind == FillOne ? QStringLiteral("The %1 is configured with the command ______.").arg(subject)
                               : QStringLiteral("The %1 is shown with ______ and changed with ______.").arg(subject);
        break;
    case OrderedList:
        type = 4, interactive = 1;
        text = QStringLiteral("Put the steps to replace the %1 in order.").arg(subject);
        break;
    case Tree:
        type = 4, interactive = 2;
        text = QStringLiteral("Sort the items into the groups where they belong.");
        break;
    case SelectPlace:
        type = 4, interactive = 3;
        text = QStringLiteral("Place each value beside the place of the %1 where it belongs.").arg(subject);
        break;
    case KindCount:
        break;
    }

    m_bank.addQuestion({code, category + 1, chapter, type, interactive, text, explanation, difficulty, scenario ? 1 : 0,
                        scenarioId, modelAnswer});
    switch (kind) {
    case ChoiceOne:
    case ChoiceMany:
        writeChoices(code, category, kind == ChoiceMany);
        break;
    case Essay:
        m_bank.addFillAnswer(code, QStringLiteral("plan|planned|planning"));
        m_bank.addFillAnswer(code, QStringLiteral("test|tested|testing"));
        break;
    case FillOne:
        m_bank.addFillAnswer(code, QStringLiteral("cmd%1|tool%1").arg(code));
        break;
    case FillTwo:
        m_bank.addFillAnswer(code, QStringLiteral("show%1").arg(code));
        m_bank.addFillAnswer(code, QStringLiteral("set%1|change%1").arg(code));
        break;
    case OrderedList:
        writeOrderedList(code, category);
        break;
    case Tree:
        writeTree(code, category);
        break;
    case SelectPlace:
        writeSelectPlace(code, category);
        break;
    case KindCount:
        break;
    }
    m_bank.addLearningObjective({code, category + 1, chapterSlot < 3 ? chapterSlot + 1 : 0,
                                 QString(QChar(u'a' + difficulty - 1)), QStringLiteral("1"), 0});
    ++m_perType[size_t(category)][size_t(type - 1)];
}

// Directives that add up to the simulated question count and can always be
// met: no category is asked for more questions than it holds, and no type
// limit exceeds the questions of that type.
void Generator::writeDirectives(int questionCount)
{
    const int target = std::min(60, questionCount);
    std::vector<int> count(size_t(m_categories), 0);
    std::vector<int> available(size_t(m_categories), 0);
    for (int c = 0; c < m_categories; ++c)
        for (int n : m_perType[size_t(c)])
            available[size_t(c)] += n;
    for (int assigned = 0; assigned < target;) {
        for (int c = 0; c < m_categories && assigned < target; ++c)
            if (count[size_t(c)] < available[size_t(c)])
                ++count[size_t(c)], ++assigned;
    }
    for (int c = 0; c < m_categories; ++c) {
        std::array<int, 4> limit = {0, 0, 0, 0};
        for (int left = count[size_t(c)]; left > 0;)
            for (int t = 0; t < 4 && left > 0; ++t)
                if (limit[size_t(t)] < m_perType[size_t(c)][size_t(t)])
                    ++limit[size_t(t)], --left;
        m_bank.addCategory({c + 1, QString::fromLatin1(kTopics[size_t(c)].category), true, count[size_t(c)], limit[0],
                            limit[1], limit[2], limit[3]});
    }
    m_bank.setSimulatedQuestionCount(target);
}

void Generator::run(int questionCount, unsigned seed)
{
    // Enough categories for the bank's size, at least 4, at most 8.
    m_categories = std::clamp(questionCount / 25, 4, int(kTopics.size()));
    m_scenarios = questionCount >= 50 ? 3 : 0;
    m_perType.assign(size_t(m_categories), {0, 0, 0, 0});

    ExamBankWriter::ExamRow exam;
    exam.code = QStringLiteral("SYN%1").arg(seed);
    exam.description = QStringLiteral("Synthetic exam, %1 questions").arg(questionCount);
    exam.validDb = 1;
    exam.simulatedMinutes = 90;
    exam.simulatedPassScore = 70;
    exam.simulatedQuestions = 0; // set once the directives are known
    exam.adaptiveMinutes = 60;
    exam.adaptivePassScore = 70;
    exam.adaptiveQuestions = std::min(40, questionCount);
    exam.productId = QStringLiteral("ZDV-SYN");
    exam.version = QStringLiteral("1.0");
    exam.comment = QStringLiteral("Generated by ziduver-mkdata with seed %1.").arg(seed);
    m_bank.addExam(exam);
    for (int point = 1; point <= 3; ++point)
        m_bank.addPoint(point, point);
    for (int c = 0; c < m_categories; ++c)
        for (int k = 0; k < 3; ++k)
            m_bank.addChapter(
                {(c + 1) * 10 + k + 1, c + 1, QString::fromLatin1(kTopics[size_t(c)].chapters[size_t(k)]), true});
    for (int s = 1; s <= m_scenarios; ++s)
        m_bank.addScenario(s, QStringLiteral("scenario%1.htm").arg(s));
    const ExamBankWriter::UserLinkRow links[] = {
        {1, 0, QStringLiteral("Reference guide"), QStringLiteral("https://docs.example.org/")},
        {2, 0, QStringLiteral("Further reading"), std::nullopt},
        {3, 2, QStringLiteral("Glossary"), QStringLiteral("https://docs.example.org/glossary")},
        {4, 2, QStringLiteral("Frequently asked questions"), QStringLiteral("https://docs.example.org/faq")},
    };
    for (const ExamBankWriter::UserLinkRow& link : links)
        m_bank.addUserLink(link);

    // Questions go round the categories so that every category gets its share
    // and every kind of question turns up in each of them.
    for (int code = 1; code <= questionCount; ++code)
        writeQuestion(code, (code - 1) % m_categories);
    writeDirectives(questionCount);
}

} // namespace

void generateExam(db::Connection& exam, int questionCount, unsigned seed)
{
    if (questionCount < 1)
        throw std::invalid_argument("An exam needs at least one question");
    db::Transaction transaction(exam);
    Generator(exam, seed).run(questionCount, seed);
    transaction.commit();
}
