#include "test_paths.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

using namespace Qt::StringLiterals;

// Reads the includes of src/ and holds them to the table of floors beside this test.

namespace {

const QString Source = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/src"_s;

std::map<QString, int> floors() {
    QFile table(QStringLiteral(TOVENLA_SOURCE_DIR) + u"/tests/floors/floors.txt"_s);
    EXPECT_TRUE(table.open(QIODevice::ReadOnly));
    std::map<QString, int> found;
    for (const QString& line : QString::fromUtf8(table.readAll()).split(u'\n')) {
        const QStringList words = line.simplified().split(u' ');
        if (words.size() == 2 && !line.startsWith(u'#')) found[words.at(0)] = words.at(1).toInt();
    }
    return found;
}

struct Include {
    QString file;   // relative to src/
    QString target; // as written
};

QList<Include> includes() {
    static const QRegularExpression pattern(u"^#include \"([^\"]+)\""_s, QRegularExpression::MultilineOption);
    QList<Include> found;
    QDirIterator it(Source, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        const QString relative = file.fileName().mid(Source.size() + 1);
        for (const QRegularExpressionMatch& m : pattern.globalMatch(text))
            found.append({relative, m.captured(1)});
    }
    return found;
}

QString folderOf(const QString& path) {
    return path.section(u'/', 0, 0);
}

// A cycle through the folder graph, as "a → b → a", or empty.
QString cycleIn(const std::map<QString, std::set<QString>>& edges) {
    std::map<QString, int> state; // 1 on the path, 2 done
    QStringList path;
    std::function<QString(const QString&)> visit = [&](const QString& folder) -> QString {
        state[folder] = 1;
        path << folder;
        if (const auto it = edges.find(folder); it != edges.end()) {
            for (const QString& next : it->second) {
                if (state[next] == 1) return (path.mid(path.indexOf(next)) << next).join(u" → "_s);
                if (state[next] == 0)
                    if (const QString found = visit(next); !found.isEmpty()) return found;
            }
        }
        path.removeLast();
        state[folder] = 2;
        return {};
    };
    for (const auto& [folder, targets] : edges)
        if (state[folder] == 0)
            if (const QString found = visit(folder); !found.isEmpty()) return found;
    return {};
}

} // namespace

TEST(Floors, NoIncludePointsUpAFloorOrIntoAWindowAndNoFoldersFormACycle) {
    const std::map<QString, int> floor = floors();
    ASSERT_FALSE(floor.empty());
    for (const QString& folder : QDir(Source).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        EXPECT_TRUE(floor.count(folder)) << folder.toStdString() << " has no floor in floors.txt";

    std::map<QString, std::set<QString>> edges;
    const QList<Include> all = includes();
    ASSERT_GT(all.size(), 100);
    for (const Include& include : all) {
        const QString from = folderOf(include.file);
        const QString to = folderOf(include.target);
        if (!include.target.contains(u'/') || from == to) continue;
        const std::string where = QString(include.file + u": "_s + include.target).toStdString();
        ASSERT_TRUE(floor.count(to)) << where;
        EXPECT_LE(floor.at(to), floor.at(from)) << where << " points up a floor";
        edges[from].insert(to);
    }
    for (const Include& include : all) {
        const bool window = include.file.contains(u"/ui/"_s);
        EXPECT_TRUE(window || !include.target.contains(u"/ui/"_s))
            << QString(include.file + u": "_s + include.target).toStdString() << ": logic includes a window";
    }
    EXPECT_EQ(cycleIn(edges), QString()) << "folders include one another";
}
