// The standard pictures the windows show, read from the toolkit's built-in images at the size
// asked for, the same whether decoded ahead on another thread or on demand.
#include "platform/ui/StandardPictures.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>
#include <algorithm>
#include <thread>

using ui::standardPicture;

namespace {

// Every picture the program's windows take, with the size each takes it at.
const std::pair<QStyle::StandardPixmap, int> kUsed[] = {
    {QStyle::SP_DirClosedIcon, 16}, {QStyle::SP_DirOpenIcon, 16},
    {QStyle::SP_DirHomeIcon, 32}, {QStyle::SP_DialogApplyButton, 32}, {QStyle::SP_DialogHelpButton, 32},
    {QStyle::SP_FileDialogContentsView, 32}, {QStyle::SP_FileIcon, 32}, {QStyle::SP_FileDialogListView, 32},
    {QStyle::SP_DialogSaveButton, 32}, {QStyle::SP_FileDialogDetailedView, 32},
    {QStyle::SP_DialogCloseButton, 32}, {QStyle::SP_FileDialogInfoView, 32}, {QStyle::SP_BrowserStop, 32},
};

QImage imageOf(QStyle::StandardPixmap which, int pixels)
{
    return standardPicture(which, pixels).pixmap(pixels, pixels).toImage();
}

} // namespace

TEST(StandardPictures, EveryPictureTheWindowsUseIsABuiltInImageOfItsSize)
{
    for (const auto& [which, pixels] : kUsed) {
        const QString path = ui::builtInPicturePath(which, pixels);
        EXPECT_TRUE(path.endsWith(QStringLiteral("-%1.png").arg(pixels))) << int(which) << " " << path.toStdString();
        const QImage image = imageOf(which, pixels);
        EXPECT_EQ(std::max(image.width(), image.height()), pixels) << int(which);
    }
    // A size between the built-in ones takes the next larger; beyond them, the largest.
    EXPECT_TRUE(ui::builtInPicturePath(QStyle::SP_FileIcon, 20).endsWith(QLatin1String("file-32.png")));
    EXPECT_TRUE(ui::builtInPicturePath(QStyle::SP_FileIcon, 400).endsWith(QLatin1String("file-128.png")));
    // A picture without a built-in image is the style's.
    EXPECT_TRUE(ui::builtInPicturePath(QStyle::SP_TitleBarMenuButton, 16).isEmpty());
    EXPECT_FALSE(standardPicture(QStyle::SP_TitleBarMenuButton, 16).isNull());
}

TEST(StandardPictures, PicturesDecodedAheadOnAnotherThreadAreTheSamePictures)
{
    std::vector<QImage> onDemand;
    for (const auto& [which, pixels] : kUsed)
        onDemand.push_back(imageOf(which, pixels));
    std::thread ahead(ui::prepareStandardPictures);
    std::vector<QImage> during;
    for (const auto& [which, pixels] : kUsed)
        during.push_back(imageOf(which, pixels));   // while the other thread decodes
    ahead.join();
    for (size_t i = 0; i < std::size(kUsed); ++i) {
        const auto& [which, pixels] = kUsed[i];
        EXPECT_EQ(during[i], onDemand[i]) << int(which);
        EXPECT_EQ(imageOf(which, pixels), onDemand[i]) << int(which);
    }
}
