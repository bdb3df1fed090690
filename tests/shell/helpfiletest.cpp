#include "helpfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A folder tree in a temporary folder: files and folders given by relative path.
class Tree
{
public:
    QString path(const QString &relative) const { return m_root.filePath(relative); }

    QString folder(const QString &relative) const
    {
        QDir().mkpath(path(relative));
        return path(relative);
    }

    QString file(const QString &relative) const
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile f(path(relative));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("ITSF");
        return path(relative);
    }

private:
    QTemporaryDir m_root;
};

const QString Help = QStringLiteral("kvarcella.chm");

} // namespace

TEST(HelpFileTest, TheCurrentFolderComesFirstAndTheRequestStaysRelative)
{
    Tree tree;
    const QString work = tree.folder(QStringLiteral("work"));
    tree.file(QStringLiteral("work/") + Help);
    tree.file(QStringLiteral("build/") + Help);
    EXPECT_EQ(HelpFile::locate(work, tree.folder(QStringLiteral("build"))), Help);
}

TEST(HelpFileTest, WithoutAnyCopyTheRelativeNameIsAskedForAsBefore)
{
    Tree tree;
    const QString work = tree.folder(QStringLiteral("work"));
    const QString bin = tree.folder(QStringLiteral("usr/bin"));
    EXPECT_EQ(HelpFile::locate(work, bin), Help);

    // A folder of that name is not a help file, wherever it is.
    tree.folder(QStringLiteral("work/") + Help);
    tree.folder(QStringLiteral("usr/bin/") + Help);
    tree.folder(QStringLiteral("usr/bin/") + HelpFile::DataFolderFromExecutable + u'/' + Help);
    EXPECT_EQ(HelpFile::locate(work, bin), Help);
}

TEST(HelpFileTest, ABuildTreeFindsTheCopyBesideTheExecutable)
{
    Tree tree;
    const QString work = tree.folder(QStringLiteral("work"));
    const QString copy = tree.file(QStringLiteral("build/src/shell/") + Help);
    EXPECT_EQ(HelpFile::locate(work, tree.path(QStringLiteral("build/src/shell"))), copy);
}

TEST(HelpFileTest, AnInstallationFindsItsDataFolderFromTheExecutableWhereverItIsMoved)
{
    Tree tree;
    const QString work = tree.folder(QStringLiteral("work"));
    for (const QString &prefix : {QStringLiteral("usr"), QStringLiteral("opt/moved here/usr")}) {
        const QString bin = tree.folder(prefix + QStringLiteral("/bin"));
        const QString copy = QDir::cleanPath(tree.file(
            prefix + QStringLiteral("/bin/") + HelpFile::DataFolderFromExecutable + u'/' + Help));
        EXPECT_EQ(HelpFile::locate(work, bin), copy) << prefix.toStdString();
        EXPECT_TRUE(copy.startsWith(tree.path(prefix))) << copy.toStdString();
    }
}
