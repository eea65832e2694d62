#include "ui/RegionalSettings.h"

#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

namespace orbeta {
namespace {

TEST(DecimalSeparator, TakesTheLocalesSingleAsciiSeparator) {
    EXPECT_EQ(DecimalSeparatorOf(QString(",")), ',');
    EXPECT_EQ(DecimalSeparatorOf(QString(".")), '.');
    EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::Spanish, QLocale::Mexico)), '.');
    EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::Spanish, QLocale::Spain)), ',');
    EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)), ',');
    EXPECT_EQ(DecimalSeparatorOf(QLocale::c()), '.');
}

TEST(DecimalSeparator, FallsBackToAFullStopWhenTheLocaleGivesNoneOrNoAsciiCharacter) {
    EXPECT_EQ(DecimalSeparatorOf(QString()), '.');
    EXPECT_EQ(DecimalSeparatorOf(QString(",,")), '.');
    EXPECT_EQ(DecimalSeparatorOf(QString::fromUtf8("\u066B")), '.') << "Arabic decimal separator";
    EXPECT_EQ(DecimalSeparatorOf(QString::fromUtf8("\u00B7")), '.') << "middle dot";
    EXPECT_EQ(DecimalSeparatorOf(QString("\t")), '.');
}

} // namespace
} // namespace orbeta
