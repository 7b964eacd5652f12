// The search index over ten years of dumps: 7,300 generated dumps of 100 KB (730 MB). Run
// once, by hand, with the bench preset:
//   nice -n 19 build/bench/bench/bench_search
// BREVNOTE_BENCH_DUMPS sets another number of dumps (730 for a tenth); the dumps are written
// into a temporary folder and deleted at the end. BREVNOTE_BENCH_FOLDER names a folder to
// write them into once and use as it is on later runs (it is kept; a run then skips the
// generating). BREVNOTE_BENCH_INDEX names an index file to make once and search on later runs
// (kept; indexing is then neither done nor printed). Printed once: generating, `grep -ril` over all
// of them, indexing from nothing, the sizes. Then Google Benchmark times adding one new dump and
// the first 50 results of a few queries.

#include "search/dumpfiles.h"
#include "search/dumpindex.h"
#include "search/dumpname.h"
#include "search/searchindexer.h"
#include "search/searchquery.h"
#include "search/textfold.h"
#include "util/core/textcodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "benchmain.h"

#include <cstdio>
#include <ctime>

using namespace brevnote;

namespace {

constexpr qint64 kDumpBytes = 100 * 1024;

QTemporaryDir *g_dir = nullptr;
QString g_folder;
QString g_newFolder;
QString g_indexPath;
int g_added = 0;

// Words that look and are spread like a pad's text: a few very common ones, accented ones,
// made-up ones from syllables, numbers, dates and amounts.
class TextMaker {
public:
    TextMaker()
        : m_random(20261209) {
        const QStringList common = {
            QStringLiteral("de"),       QStringLiteral("a"),         QStringLiteral("o"),
            QStringLiteral("que"),      QStringLiteral("e"),         QStringLiteral("do"),
            QStringLiteral("da"),       QStringLiteral("em"),        QStringLiteral("um"),
            QStringLiteral("para"),     QStringLiteral("com"),       QStringLiteral("não"),
            QStringLiteral("uma"),      QStringLiteral("os"),        QStringLiteral("no"),
            QStringLiteral("conta"),    QStringLiteral("luz"),       QStringLiteral("ação"),
            QStringLiteral("endereço"), QStringLiteral("reunião"),   QStringLiteral("senha"),
            QStringLiteral("cliente"),  QStringLiteral("relatório"), QStringLiteral("código"),
            QStringLiteral("número")};
        m_words = common;
        const QStringList syllables = {
            QStringLiteral("ca"),  QStringLiteral("ção"), QStringLiteral("de"),
            QStringLiteral("lu"),  QStringLiteral("ma"),  QStringLiteral("rã"),
            QStringLiteral("to"),  QStringLiteral("pé"),  QStringLiteral("si"),
            QStringLiteral("vo"),  QStringLiteral("nha"), QStringLiteral("lhe"),
            QStringLiteral("que"), QStringLiteral("ri"),  QStringLiteral("so"),
            QStringLiteral("bê"),  QStringLiteral("ga"),  QStringLiteral("ní"),
            QStringLiteral("pa"),  QStringLiteral("tu")};
        while (m_words.size() < 40000) {
            QString word;
            const int parts = 2 + int(m_random.bounded(3));
            for (int i = 0; i < parts; ++i)
                word += syllables.at(int(m_random.bounded(syllables.size())));
            m_words.append(word);
        }
    }

    QString word() {
        // Roughly Zipf: the square of a uniform number favours the first words.
        const double u = m_random.generateDouble();
        const int at = int(u * u * u * double(m_words.size()));
        if (m_random.bounded(40) == 0)
            return QString::number(m_random.bounded(1000000));
        return m_words.at(qMin(at, int(m_words.size()) - 1));
    }

    QStringList dumpLines() {
        QStringList lines;
        qint64 bytes = 0;
        while (bytes < kDumpBytes) {
            QString line;
            const int words = 3 + int(m_random.bounded(14));
            for (int i = 0; i < words; ++i) {
                if (i)
                    line += u' ';
                line += word();
            }
            bytes += line.size() + 2;
            lines.append(line);
        }
        return lines;
    }

private:
    QRandomGenerator m_random;
    QStringList m_words;
};

// CPU time of all the program's threads: steadier than the clock on a busy machine.
double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

QString dumpName(int i) {
    const QDateTime when = QDateTime(QDate(2016, 1, 1), QTime(18, 0)).addSecs(qint64(i) * 43200);
    return QStringLiteral("Brevnote") + when.toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(".txt");
}

qint64 folderBytes(const QString &folder, const QString &pattern) {
    qint64 total = 0;
    for (const QFileInfo &info : QDir(folder).entryInfoList({pattern}, QDir::Files))
        total += info.size();
    return total;
}

void prepare(int dumps) {
    g_dir = new QTemporaryDir;
    const QString kept = qEnvironmentVariable("BREVNOTE_BENCH_FOLDER");
    g_folder = kept.isEmpty() ? g_dir->filePath(QStringLiteral("dumps")) : kept;
    const bool reuse = !kept.isEmpty() && QDir(kept).exists();
    QDir().mkpath(g_folder);
    // The dumps added one by one go apart, so a kept folder stays as it was made.
    g_newFolder = g_dir->filePath(QStringLiteral("new"));
    QDir().mkpath(g_newFolder);
    const QString keptIndex = qEnvironmentVariable("BREVNOTE_BENCH_INDEX");
    g_indexPath = keptIndex.isEmpty() ? g_dir->filePath(dumpIndexFileName()) : keptIndex;
    const bool reuseIndex = !keptIndex.isEmpty() && QFileInfo::exists(keptIndex);

    QElapsedTimer clock;
    clock.start();
    TextMaker maker;
    for (int i = 0; i < dumps && !reuse; ++i)
        writeLinesFile(g_folder + u'/' + dumpName(i), maker.dumpLines());
    const qint64 textBytes = folderBytes(g_folder, QStringLiteral("Brevnote*.txt"));
    if (reuse)
        dumps =
            int(QDir(g_folder).entryList({QStringLiteral("Brevnote*.txt")}, QDir::Files).size());
    std::printf("%s %d dumps, %.1f MB, in %.1f s\n", reuse ? "found" : "generated", dumps,
                double(textBytes) / 1e6, double(clock.elapsed()) / 1e3);

    // Once to fill the page cache, as the indexer finds it after writing; then timed.
    QProcess::execute(QStringLiteral("grep"),
                      {QStringLiteral("-ril"), QStringLiteral("xyzzyqwv"), g_folder});
    clock.restart();
    QProcess::execute(QStringLiteral("grep"),
                      {QStringLiteral("-ril"), QStringLiteral("xyzzyqwv"), g_folder});
    const double grepSeconds = double(clock.elapsed()) / 1e3;
    std::printf("grep -ril (reads every file once): %.2f s; three times that: %.2f s\n",
                grepSeconds, 3 * grepSeconds);
    if (reuseIndex) {
        std::printf("index found: %s\n", qPrintable(g_indexPath));
        std::fflush(stdout);
        return;
    }

    clock.restart();
    const double cpuBefore = processCpuSeconds();
    {
        SearchService service(g_indexPath, {g_folder});
        QEventLoop loop;
        QObject::connect(&service, &SearchService::stateChanged, &loop, [&] {
            if (!service.indexing())
                loop.quit();
        });
        service.start();
        loop.exec();
    }
    const double indexSeconds = double(clock.elapsed()) / 1e3;
    const double indexCpu = processCpuSeconds() - cpuBefore;
    std::printf("indexing from nothing (search thread, as the program does): %.1f s, %.1f MB/s; "
                "CPU time %.1f s\n",
                indexSeconds, double(textBytes) / 1e6 / indexSeconds, indexCpu);
    // After a large run the search thread merges the index into one segment, in steps between
    // searches; ending the service above stopped that, so the rest is done and timed here.
    clock.restart();
    const double mergeCpuBefore = processCpuSeconds();
    {
        DumpIndex index;
        index.open(g_indexPath);
        while (index.mergeSome(1000)) {
        }
    }
    const double mergeSeconds = double(clock.elapsed()) / 1e3;
    std::printf("then merging it into one segment: %.1f s, CPU time %.1f s; in all %.1f s, "
                "%.1f times three times grep\n",
                mergeSeconds, processCpuSeconds() - mergeCpuBefore, indexSeconds + mergeSeconds,
                (indexSeconds + mergeSeconds) / (3 * grepSeconds));
    const qint64 indexBytes = QFileInfo(g_indexPath).size();
    std::printf("index file: %.1f MB, %.0f%% of the texts\n", double(indexBytes) / 1e6,
                100.0 * double(indexBytes) / double(textBytes));
    std::fflush(stdout);
}

DumpIndex &openIndex() {
    static DumpIndex *index = [] {
        auto *made = new DumpIndex;
        made->open(g_indexPath);
        return made;
    }();
    return *index;
}

void addOneNewDump(benchmark::State &state) {
    DumpIndex &index = openIndex();
    TextMaker maker;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = g_newFolder + u'/' + dumpName(100000 + g_added++);
        writeLinesFile(path, maker.dumpLines());
        const std::optional<DumpFile> dump = dumpFileAt(path);
        state.ResumeTiming();
        index.addDump(*dump);
    }
}

void first50Results(benchmark::State &state, const QString &text, bool excerpts) {
    DumpIndex &index = openIndex();
    const SearchQuery query = parseSearchQuery(text);
    qsizetype found = 0;
    for (auto _ : state) {
        // With excerpts: what the search window gets, made as the search thread makes it.
        found = excerpts ? findResults(index, query, 50).size() : index.search(query, 50).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["results"] = double(found);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int dumps = qEnvironmentVariableIsSet("BREVNOTE_BENCH_DUMPS")
                          ? qEnvironmentVariableIntValue("BREVNOTE_BENCH_DUMPS")
                          : 7300;
    prepare(dumps);
    benchmark::RegisterBenchmark("addOneNewDump", addOneNewDump)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(20);
    const QList<std::pair<const char *, QString>> queries = {
        {"common word", QStringLiteral("conta")},
        {"accent-blind", QStringLiteral("acao")},
        {"two words", QStringLiteral("senha cliente")},
        {"phrase", QStringLiteral("\"conta de\"")},
        {"prefix", QStringLiteral("rel*")},
        {"rare word", QStringLiteral("caçãode")}};
    for (const auto &[name, text] : queries) {
        benchmark::RegisterBenchmark((std::string("first50/") + name).c_str(), first50Results, text,
                                     false)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("first50WithExcerpts/") + name).c_str(),
                                     first50Results, text, true)
            ->Unit(benchmark::kMillisecond)
            // The user waits for the results, and the excerpts may be made on more threads.
            ->UseRealTime();
    }
    const int result = runBenchmarks(argc, argv);
    delete g_dir; // the generated dumps and the index go with it
    return result;
}
