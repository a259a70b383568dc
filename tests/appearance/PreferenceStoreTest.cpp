#include "appearance/PreferenceStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using voveriz::PreferenceKey;
using voveriz::PreferenceStore;

namespace {

class PreferenceStoreTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("prefs.json")); }

    void writeFile(const QByteArray& contents) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    QJsonObject fileObject() const
    {
        QFile file(path());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError);
        return document.object();
    }

    void expectDefaults(const PreferenceStore& store) const
    {
        EXPECT_EQ(store.stringOrDefault(PreferenceKey::TargetSize), "1080");
        EXPECT_EQ(store.stringOrDefault(PreferenceKey::Dimension), "width");
        EXPECT_EQ(store.stringOrDefault(PreferenceKey::OutputPath), "");
        EXPECT_EQ(store.stringOrDefault(PreferenceKey::BgColor), "#111111");
        EXPECT_EQ(store.numberOrDefault(PreferenceKey::TextColorValue), 0.878);
        EXPECT_TRUE(store.windowFrame().isEmpty());
    }

    QTemporaryDir m_dir;
};

TEST_F(PreferenceStoreTest, UserStoreLivesUnderXdgConfigHome)
{
    const QString configHome = QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(configHome.isEmpty());
    PreferenceStore store;
    EXPECT_EQ(store.fileName(), QDir(configHome).filePath(QStringLiteral("Voveriz/Voveriz.json")));
    store.setString(PreferenceKey::BgColor, QStringLiteral("#0d1117"));
    EXPECT_TRUE(QFile::exists(store.fileName()));
}

TEST_F(PreferenceStoreTest, EmptyStoreGivesEveryDefault)
{
    const PreferenceStore store(path());
    expectDefaults(store);
    EXPECT_FALSE(store.string(PreferenceKey::OutputPath));
    EXPECT_FALSE(store.number(PreferenceKey::TextColorValue));
}

TEST_F(PreferenceStoreTest, TextAndNumbersKeepTheirTypesInTheFile)
{
    const QByteArray frame("\x01\xd9\xd0\xcb\x00\x03\xff\n", 8);
    {
        PreferenceStore store(path());
        store.setString(PreferenceKey::TargetSize, QStringLiteral("800"));
        store.setString(PreferenceKey::Dimension, QStringLiteral("height"));
        store.setString(PreferenceKey::OutputPath, QStringLiteral("/home/ann/Pictures/Résized"));
        store.setString(PreferenceKey::BgColor, QStringLiteral("#0d1117"));
        store.setNumber(PreferenceKey::TextColorValue, 0.25);
        store.setWindowFrame(frame);
    }
    const QJsonObject object = fileObject();
    EXPECT_EQ(object.value("targetSize"), QJsonValue("800"));
    EXPECT_EQ(object.value("dimension"), QJsonValue("height"));
    EXPECT_EQ(object.value("outputPath"), QJsonValue("/home/ann/Pictures/Résized"));
    EXPECT_EQ(object.value("bgColor"), QJsonValue("#0d1117"));
    EXPECT_EQ(object.value("textColorValue"), QJsonValue(0.25));
    EXPECT_TRUE(object.value("VoverizMainWindow").isString());

    const PreferenceStore reread(path());
    EXPECT_EQ(reread.string(PreferenceKey::TargetSize), "800");
    EXPECT_EQ(reread.stringOrDefault(PreferenceKey::Dimension), "height");
    EXPECT_EQ(reread.string(PreferenceKey::OutputPath), "/home/ann/Pictures/Résized");
    EXPECT_EQ(reread.number(PreferenceKey::TextColorValue), 0.25);
    EXPECT_EQ(reread.windowFrame(), frame);
}

TEST_F(PreferenceStoreTest, ValuesOfTheWrongKindReadAsMissing)
{
    writeFile(R"({"targetSize": 1080, "dimension": "Height", "outputPath": ["/tmp"],
                  "bgColor": null, "textColorValue": "0.5", "VoverizMainWindow": "not base64!"})");
    const PreferenceStore store(path());
    EXPECT_FALSE(store.string(PreferenceKey::TargetSize));
    EXPECT_FALSE(store.string(PreferenceKey::OutputPath));
    EXPECT_FALSE(store.string(PreferenceKey::BgColor));
    EXPECT_FALSE(store.number(PreferenceKey::TextColorValue));
    expectDefaults(store);
}

TEST_F(PreferenceStoreTest, EmptyTargetSizeIsStoredButFallsBack)
{
    PreferenceStore store(path());
    store.setString(PreferenceKey::TargetSize, QString());
    EXPECT_EQ(store.string(PreferenceKey::TargetSize), "");
    EXPECT_EQ(store.stringOrDefault(PreferenceKey::TargetSize), "1080");
    // Out-of-range lightness is kept as it is.
    store.setNumber(PreferenceKey::TextColorValue, 1.5);
    EXPECT_EQ(store.numberOrDefault(PreferenceKey::TextColorValue), 1.5);
}

TEST_F(PreferenceStoreTest, CorruptFileGivesDefaultsAndTheNextWriteMendsIt)
{
    for (const QByteArray& contents : {QByteArray("{\"bgColor\": \"#0d11"), QByteArray("[1, 2, 3]"),
                                       QByteArray("\x00\xff\xfe garbage", 11), QByteArray("\"#0d1117\"")}) {
        writeFile(contents);
        {
            PreferenceStore store(path());
            expectDefaults(store);
            store.setString(PreferenceKey::Dimension, QStringLiteral("height"));
        }
        const QJsonObject object = fileObject();
        EXPECT_EQ(object.value("dimension"), QJsonValue("height"));
        EXPECT_EQ(object.size(), 1);
        ASSERT_TRUE(QFile::remove(path()));
    }
}

TEST_F(PreferenceStoreTest, UnreadableFileGivesDefaults)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("prefs.json")));
    PreferenceStore store(path());
    expectDefaults(store);
    store.setString(PreferenceKey::BgColor, QStringLiteral("#0d1117"));  // cannot be written
    EXPECT_EQ(store.string(PreferenceKey::BgColor), QStringLiteral("#0d1117")) << "kept for this run";
    EXPECT_TRUE(QFileInfo(path()).isDir()) << "the folder in the file's place stays";
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("prefs.json")})
        << "nothing written beside it";
    EXPECT_TRUE(QDir(path()).isEmpty()) << "nothing written into it";
}

}  // namespace
