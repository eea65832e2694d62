#include "ui/Pictures.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace orbeta {
namespace {

QImage Drawn(const QIcon& icon, int side, QIcon::Mode mode) {
    return icon.pixmap(side, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Every pixel that shows is grey or white: an outline, with no colour of the picture.
bool OnlyGrey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 0 &&
                (pixel.red() != pixel.green() || pixel.green() != pixel.blue())) {
                return false;
            }
        }
    }
    return true;
}

TEST(ToolIcon, DrawsEachModeAtItsSizeWhenAskedWhateverTheOrder) {
    for (int index = 0; index <= static_cast<int>(ToolPicture::QuestionMark); ++index) {
        for (const bool withGreyOutline : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << "picture " << index << ", outline " << withGreyOutline);
            const auto picture = static_cast<ToolPicture>(index);
            const QIcon icon = ToolIcon(picture, 16, withGreyOutline);
            // Asked unavailable first, as most buttons are at start.
            const QImage unavailable = Drawn(icon, 16, QIcon::Disabled);
            const QImage available = Drawn(icon, 16, QIcon::Normal);
            EXPECT_EQ(available, Drawn(ToolIcon(picture, 16, withGreyOutline), 16, QIcon::Normal));
            EXPECT_EQ(available.size(), QSize(16, 16));
            EXPECT_EQ(Drawn(icon, 32, QIcon::Normal), available) << "never beyond its own size";
            EXPECT_EQ(Drawn(icon, 12, QIcon::Normal).size(), QSize(12, 12));
            EXPECT_EQ(Drawn(icon, 16, QIcon::Active), available);
            EXPECT_EQ(unavailable.size(), QSize(16, 16));
            EXPECT_NE(unavailable, available);
            EXPECT_FALSE(OnlyGrey(available) &&
                         index != static_cast<int>(ToolPicture::QuestionMark))
                << "drawn in its colours";
            if (withGreyOutline) {
                EXPECT_TRUE(OnlyGrey(unavailable));
            }
        }
    }
}

} // namespace
} // namespace orbeta
