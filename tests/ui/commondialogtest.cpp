#include "commondialog.h"
#include "fakeplatform.h"

#include <gtest/gtest.h>

TEST(CommonDialogTest, DesignFilterBecomesOneQtEntry)
{
    EXPECT_EQ(CommonDialog::toQtFilter(CommonDialog::CrosswordFilter),
              QStringLiteral("файлы кроссворда (*.crs)"));
    EXPECT_EQ(CommonDialog::toQtFilter(QStringLiteral("Текст|*.txt;*.log|Все|*.*|")),
              QStringLiteral("Текст (*.txt *.log);;Все (*.*)"));
}

TEST(CommonDialogTest, FlagsDecideWhatTheDialogAsksAndTheLastNameIsOfferedAgain)
{
    FakePlatform platform;
    CommonDialog dialog(platform, nullptr);

    platform.fileAnswers = {QStringLiteral("/tmp/a.crs"), std::nullopt, QStringLiteral("/tmp/b")};
    dialog.setFlags(CommonDialog::OpenFlags);
    ASSERT_TRUE(dialog.showOpen());
    EXPECT_EQ(dialog.fileName(), QStringLiteral("/tmp/a.crs"));

    dialog.setFlags(CommonDialog::SaveFlags);
    EXPECT_FALSE(dialog.showSave()) << "cancel";
    EXPECT_EQ(dialog.fileName(), QStringLiteral("/tmp/a.crs")) << "a cancel keeps the name";
    ASSERT_TRUE(dialog.showSave());
    EXPECT_EQ(dialog.fileName(), QStringLiteral("/tmp/b")) << "no extension is added";

    ASSERT_EQ(platform.fileRequests.size(), 3u);
    const auto &open = platform.fileRequests[0];
    EXPECT_EQ(open.mode, Platform::FileDialogRequest::Mode::Open);
    EXPECT_TRUE(open.fileMustExist);
    EXPECT_TRUE(open.initialFileName.isEmpty());
    const auto &save = platform.fileRequests[1];
    EXPECT_EQ(save.mode, Platform::FileDialogRequest::Mode::Save);
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_EQ(save.initialFileName, QStringLiteral("/tmp/a.crs"));
    EXPECT_EQ(save.filter, QStringLiteral("файлы кроссворда (*.crs)"));
}
