#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>

#include "settings/DataFiles.h"
#include "support/TempDir.h"

namespace zentrix {
namespace {

// The pack the build paints: every entry a 64×64 PNG named as the weather service names its
// icons, the sunny symbol among them, and it unpacks into a fresh data folder.
TEST(BuiltIconPackTest, HoldsDecodableSymbolsAndUnpacks) {
  test::TTempDir data;
  const TIconPackResult result = ExtractIconPack(ZENTRIX_ICON_PACK, data.Path());
  ASSERT_TRUE(result.Opened);
  EXPECT_EQ(result.Skipped, 0);
  EXPECT_GE(result.Extracted, 10);
  const QStringList files = QDir(QString::fromStdString(data.Path().string())).entryList(QDir::Files);
  EXPECT_EQ(files.size(), result.Extracted);
  EXPECT_TRUE(files.contains(QStringLiteral("wsymbol_0001_sunny.png")));
  const QRegularExpression name(QStringLiteral("^wsymbol_\\d{4}_[a-z_]+\\.png$"));
  for (const QString& file : files) {
    EXPECT_TRUE(name.match(file).hasMatch()) << file.toStdString();
    const QImage image(QString::fromStdString((data.Path() / file.toStdString()).string()), "PNG");
    EXPECT_EQ(image.size(), QSize(64, 64)) << file.toStdString();
    EXPECT_TRUE(image.hasAlphaChannel()) << file.toStdString();
  }
  // A second start finds the sunny symbol and leaves the pack closed.
  EXPECT_FALSE(ExtractIconPack(ZENTRIX_ICON_PACK, data.Path()).Opened);
}

}  // namespace
}  // namespace zentrix
