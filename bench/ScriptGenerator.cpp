#include "bench/ScriptGenerator.h"

#include "framework/CodePage.h"
#include "script/SettingFields.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <numeric>

namespace {

const std::array<const char *, 16> kWords{"Données", "Projets",  "Été 2021", "Photos", "Rapports", "Zoë",
                                          "Café",    "Archivé",  "Müller",   "Año",    "Backup",   "Société",
                                          "Ørsted",  "Français", "Crème",    "Työ"};
const std::array<const char *, 6> kMasks{"*.*", "*.doc;*.xls", "*.jpg", "Rapport*.pdf", "*.txt;*.csv;*.log", "*"};

// A value for every key, varied by the action's number.
QString EveryKeyValue(const SettingField &field, int n)
{
    const QString key = field.Key();
    switch (field.kind) {
    case FieldKind::Text:
        if (key == QLatin1String("Mask"))
            return n % 2 ? QStringLiteral("*.doc;*.xls") : QStringLiteral("*.*");
        return QStringLiteral("C:\\Données\\Projet %1\\Été").arg(n);
    case FieldKind::EscapedText:
        return QStringLiteral("Rapport\\t%1\\r\\n").arg(n);
    case FieldKind::Int32:
        if (key == QLatin1String("Operation"))
            return QString::number(n % 19 - 10);
        if (key == QLatin1String("Sort Compare"))
            return QString::number(n % 8 - 1);
        return QString::number(n % 2);
    case FieldKind::NonNegative:
        return QString::number(n % 7200 - 3600);
    case FieldKind::Mask:
        return QString::number(n % 64 & 0x37);
    case FieldKind::Int64:
        return QString::number(qint64(n) * 1234567891LL);
    case FieldKind::Date:
        return QDate(1995 + n % 30, 1 + n % 12, 1 + n % 28).toString(QStringLiteral("dd/MM/yyyy"));
    }
    return QString();
}

} // namespace

CScriptGenerator::CScriptGenerator(quint32 seed) : m_random(seed) {}

QString CScriptGenerator::Word()
{
    return QString::fromUtf8(kWords[size_t(Between(0, int(kWords.size()) - 1))]);
}

QString CScriptGenerator::Path()
{
    QString path = QStringLiteral("%1:\\").arg(QChar(u'C' + Between(0, 5)));
    const int depth = Between(1, 5);
    for (int i = 0; i < depth; ++i)
        path += Word() + (i + 1 < depth ? QStringLiteral("\\") : QString());
    return path;
}

QString CScriptGenerator::Value(int fieldIndex)
{
    const SettingField &field = SettingFields()[size_t(fieldIndex)];
    const QString key = field.Key();
    switch (field.kind) {
    case FieldKind::Text:
        if (key == QLatin1String("Mask"))
            return QString::fromLatin1(kMasks[size_t(Between(0, int(kMasks.size()) - 1))]);
        if (key.endsWith(QLatin1String("Columns")))
            return QStringLiteral("Name,Size,Date,Path");
        if (key == QLatin1String("Custom Message"))
            return QStringLiteral("Sauvegarde de ") + Word();
        return Path() + (key.endsWith(QLatin1String("File")) ? QStringLiteral("\\sortie.txt") : QString());
    case FieldKind::EscapedText:
        return QStringLiteral("Rapport\\t%1\\r\\n").arg(Word());
    case FieldKind::Int32:
        if (key == QLatin1String("Operation"))
            return QString::number(Between(-10, 8));
        if (key == QLatin1String("Sort Compare"))
            return QString::number(Between(-1, 6));
        if (key == QLatin1String("Time Check Precision"))
            return QString::number(Between(0, 5));
        return QString::number(Between(0, 1));
    case FieldKind::NonNegative:
        return QString::number(Between(-3600, 3600));
    case FieldKind::Mask:
        return QString::number(Between(0, 0x3F) & 0x37);
    case FieldKind::Int64:
        return QString::number(qint64(m_random.bounded(quint64(1) << 40)));
    case FieldKind::Date:
        if (Between(0, 4) == 0)
            return QStringLiteral("%%today-%1").arg(Between(0, 400));
        return QDate(Between(1995, 2030), Between(1, 12), Between(1, 28)).toString(m_strDatePicture);
    }
    return QString();
}

void CScriptGenerator::AppendSection(QString &out, const QString &name, int minKeys, int maxKeys)
{
    out += QLatin1Char('[') + name + QStringLiteral("]\r\n");
    if (Between(0, 9) == 0)
        out += QStringLiteral("@=") + Word() + QStringLiteral("\r\n");
    std::array<int, kSettingFieldCount> order{};
    std::iota(order.begin(), order.end(), 0);
    const int keys = Between(minKeys, maxKeys);
    for (int i = 0; i < keys; ++i) // a partial shuffle picks `keys` distinct fields
        std::swap(order[size_t(i)], order[size_t(Between(i, kSettingFieldCount - 1))]);
    std::sort(order.begin(), order.begin() + keys);
    for (int i = 0; i < keys; ++i) {
        const int field = order[size_t(i)];
        if (Between(0, 49) == 0)
            out += QStringLiteral("; ") + Word() + QStringLiteral("\r\n");
        out += SettingFields()[size_t(field)].Key() + QLatin1Char('=') + Value(field) + QStringLiteral("\r\n");
    }
    out += QStringLiteral("\r\n");
}

QString CScriptGenerator::Generate(int actions)
{
    QString out;
    out.reserve(qsizetype(actions + 1) * 900);
    AppendSection(out, QStringLiteral("Default"), 20, kSettingFieldCount);
    for (int i = 1; i <= actions; ++i)
        AppendSection(out, QStringLiteral("Action%1").arg(i), 15, 40);
    return out;
}

QString CScriptGenerator::GenerateAbout(qint64 characters)
{
    QString out;
    out.reserve(qsizetype(characters + 4096));
    AppendSection(out, QStringLiteral("Default"), 20, kSettingFieldCount);
    for (int i = 1; out.size() < characters; ++i)
        AppendSection(out, QStringLiteral("Action%1").arg(i), 15, 40);
    return out;
}

QByteArray CScriptGenerator::Encode(const QString &text, ScriptEncoding encoding)
{
    QByteArray bytes;
    switch (encoding) {
    case ScriptEncoding::Ansi:
        StringToMultiByte(text.constData(), text.size(), bytes, kAnsiCodePage);
        return bytes;
    case ScriptEncoding::Utf16Le:
        StringToMultiByte(text.constData(), text.size(), bytes, kUtf16);
        return QByteArray("\xFF\xFE", 2) + bytes;
    case ScriptEncoding::Utf8:
        StringToMultiByte(text.constData(), text.size(), bytes, kUtf8);
        return QByteArray("\xEF\xBB\xBF") + bytes;
    }
    return bytes;
}

QString CScriptGenerator::GenerateEveryKey(int actions)
{
    QString text;
    for (int n = 0; n <= actions; ++n) {
        text += n == 0 ? QStringLiteral("[Default]\r\n") : QStringLiteral("[Action%1]\r\n").arg(n);
        for (const SettingField &field : SettingFields())
            text += field.Key() + QLatin1Char('=') + EveryKeyValue(field, n) + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return text;
}
