#include "foundation/TextRules.h"

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QStringList splitFields(const QString& text, QChar separator)
{
    return text.isEmpty() ? QStringList() : text.split(separator);
}

QString pageFormText(const QString& text)
{
    QString form;
    form.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            form += QLatin1Char('\n');
            if (i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c.unicode() == 0) {
            form += QChar(QChar::ReplacementCharacter);
        } else if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            form += c;
            form += text[++i];
        } else if (c.isSurrogate()) {
            form += QChar(QChar::ReplacementCharacter);
        } else {
            form += c;
        }
    }
    return form;
}

bool blankOnPage(const QString& text)
{
    for (const QChar c : text)
        if (!c.isSpace() && c.unicode() != 0xFEFF)
            return false;
    return true;
}
