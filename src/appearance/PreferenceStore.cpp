#include "appearance/PreferenceStore.h"

#include "appearance/JsonSettingsFormat.h"

#include <QSettings>
#include <QVariant>

#include <array>

namespace voveriz {

namespace {

enum class ValueKind { Text, Number };

// One row per key: its name in the file, its type, the value used when it is missing, and
// which stored texts are usable (null: any text).
struct KeyRule {
    PreferenceKey key;
    const char* name;
    ValueKind kind;
    const char* defaultText;
    double defaultNumber;
    bool (*usable)(const QString& stored);
};

bool notEmpty(const QString& stored)
{
    return !stored.isEmpty();
}

bool widthOrHeight(const QString& stored)
{
    return stored == QLatin1String("width") || stored == QLatin1String("height");
}

constexpr std::array kKeyRules{
    KeyRule{PreferenceKey::TargetSize, "targetSize", ValueKind::Text, kDefaultTargetSize, 0.0, notEmpty},
    KeyRule{PreferenceKey::Dimension, "dimension", ValueKind::Text, kDefaultDimension, 0.0, widthOrHeight},
    KeyRule{PreferenceKey::OutputPath, "outputPath", ValueKind::Text, "", 0.0, nullptr},
    KeyRule{PreferenceKey::BgColor, "bgColor", ValueKind::Text, kDefaultBgColor, 0.0, nullptr},
    KeyRule{PreferenceKey::TextColorValue, "textColorValue", ValueKind::Number, "", kDefaultTextLightness, nullptr},
};

const KeyRule& ruleOf(PreferenceKey key)
{
    for (const KeyRule& rule : kKeyRules) {
        if (rule.key == key) return rule;
    }
    Q_UNREACHABLE();
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

}  // namespace

PreferenceStore::PreferenceStore()
    : m_settings(std::make_unique<QSettings>(jsonSettingsFormat(), QSettings::UserScope, QStringLiteral("Voveriz"),
                                             QStringLiteral("Voveriz")))
{
}

PreferenceStore::PreferenceStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, jsonSettingsFormat()))
{
}

PreferenceStore::~PreferenceStore() = default;

QString PreferenceStore::keyName(PreferenceKey key)
{
    return QString::fromLatin1(ruleOf(key).name);
}

std::optional<QString> PreferenceStore::string(PreferenceKey key) const
{
    const QVariant value = m_settings->value(keyName(key));
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

std::optional<double> PreferenceStore::number(PreferenceKey key) const
{
    const QVariant value = m_settings->value(keyName(key));
    if (!isNumber(value)) return std::nullopt;
    return value.toDouble();
}

QString PreferenceStore::stringOrDefault(PreferenceKey key) const
{
    const KeyRule& rule = ruleOf(key);
    const std::optional<QString> stored = string(key);
    if (!stored || (rule.usable && !rule.usable(*stored))) return QString::fromLatin1(rule.defaultText);
    return *stored;
}

double PreferenceStore::numberOrDefault(PreferenceKey key) const
{
    return number(key).value_or(ruleOf(key).defaultNumber);
}

void PreferenceStore::setString(PreferenceKey key, const QString& value)
{
    m_settings->setValue(keyName(key), value);
    m_settings->sync();
}

void PreferenceStore::setNumber(PreferenceKey key, double value)
{
    m_settings->setValue(keyName(key), value);
    m_settings->sync();
}

QByteArray PreferenceStore::windowFrame() const
{
    const QVariant value = m_settings->value(QString::fromLatin1(kWindowFrameKey));
    if (value.typeId() != QMetaType::QString) return {};
    const auto decoded =
        QByteArray::fromBase64Encoding(value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

void PreferenceStore::setWindowFrame(const QByteArray& frame)
{
    m_settings->setValue(QString::fromLatin1(kWindowFrameKey), QString::fromLatin1(frame.toBase64()));
    m_settings->sync();
}

QString PreferenceStore::fileName() const
{
    return m_settings->fileName();
}

}  // namespace voveriz
