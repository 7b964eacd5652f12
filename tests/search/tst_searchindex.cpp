#include "search/dumpfiles.h"
#include "search/dumpname.h"
#include "search/searchquery.h"
#include "search/textfold.h"
#include "searchfixture.h"
#include "support/hermetic.h"
#include "util/core/platform.h"

#include <QFile>
#include <QtTest>

#include <filesystem>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDump1 = u"Brevnote20260310091500.txt"_s;
const QString kDump2 = u"Brevnote20260311101500.txt"_s;
const QString kDump3 = u"Brevnote20260312111500.recuperado.txt"_s;

QString indexPath() {
    return platform::dataFolder() + u'/' + dumpIndexFileName();
}

// The set-aside copies of the index in the data folder.
QStringList setAsideFiles() {
    return QDir(platform::dataFolder())
        .entryList({dumpIndexFileName() + u".*.ilegivel"_s}, QDir::Files);
}

// Whether this process holds the index file open (the search thread's connection).
bool indexFileOpen() {
    const std::filesystem::path target = QFileInfo(indexPath()).canonicalFilePath().toStdString();
    std::error_code error;
    for (const auto &fd : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        if (std::filesystem::read_symlink(fd.path(), error) == target)
            return true;
    }
    return false;
}

} // namespace

class TestSearchIndex : public QObject {
    Q_OBJECT

private slots:
    void init();

    void dumpNames_data();
    void dumpNames();
    void querySanitised_data();
    void querySanitised();
    void matching_data();
    void matching();
    void equalScoresNewestFirst();
    void excerptMarksTheWords_data();
    void excerptMarksTheWords();
    void pieceExcerptIsTheWholeTextExcerpt_data();
    void pieceExcerptIsTheWholeTextExcerpt();
    void newDumpFoundOnceWritten();
    void deletedDumpGoneAfterRestart();
    void manyForgottenDumpsIndexedAnew();
    void mergedIndexFindsTheSame();
    void badIndexSetAsideAndRebuilt_data();
    void badIndexSetAsideAndRebuilt();
    void nonTextDumpDoesNotStopTheIndexer();
    void unwritableFolderSearchesFromMemory();
    void indexClosedWhileIdleOpensAgain_data();
    void indexClosedWhileIdleOpensAgain();
};

void TestSearchIndex::init() {
    QDir(platform::dataFolder()).removeRecursively();
    QDir().mkpath(platform::dataFolder());
}

void TestSearchIndex::dumpNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // empty: not a dump

    QTest::newRow("closing") << u"Brevnote20260310091500.txt"_s << u"10/03/2026 09:15:00"_s;
    QTest::newRow("recovered") << u"Brevnote20260310091500.recuperado.txt"_s
                               << u"10/03/2026 09:15:00 (recuperado)"_s;
    QTest::newRow("recovered copy")
        << u"Brevnote20260310091500-3.recuperado.txt"_s << u"10/03/2026 09:15:00 (recuperado)"_s;
    QTest::newRow("copy of a closing dump") << u"Brevnote20260310091500-3.txt"_s << QString();
    QTest::newRow("no such month") << u"Brevnote20261310091500.txt"_s << QString();
    QTest::newRow("short stamp") << u"Brevnote2026031009150.txt"_s << QString();
    QTest::newRow("journal") << u"Brevnote.journal"_s << QString();
    QTest::newRow("other case") << u"brevnote20260310091500.txt"_s << QString();
}

void TestSearchIndex::dumpNames() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    const std::optional<DumpName> parsed = parseDumpFileName(name);
    QCOMPARE(parsed ? dumpCaption(*parsed) : QString(), caption);
}

void TestSearchIndex::querySanitised_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("match");

    QTest::newRow("words") << u"Conta  LUZ"_s << u"\"conta\" \"luz\""_s;
    QTest::newRow("accents") << u"Ação"_s << u"\"acao\""_s;
    QTest::newRow("phrase") << u"\"conta de luz\" março"_s << u"\"conta de luz\" \"marco\""_s;
    QTest::newRow("prefix") << u"luz*"_s << u"\"luz\"*"_s;
    QTest::newRow("phrase prefix") << u"\"conta de l\"*"_s << u"\"conta de l\"*"_s;
    QTest::newRow("open quote") << u"\"conta de"_s << u"\"conta de\""_s;
    QTest::newRow("operators are words")
        << u"a AND b OR NOT c"_s << u"\"a\" \"and\" \"b\" \"or\" \"not\" \"c\""_s;
    QTest::newRow("fts syntax") << u"(x) -y col:z NEAR(a b) ^w"_s
                                << u"\"x\" \"y\" \"col z\" \"near a\" \"b\" \"w\""_s;
    QTest::newRow("punctuation only") << u"* - \"\" ()"_s << QString();
    QTest::newRow("hyphenated") << u"e-mail"_s << u"\"e mail\""_s;
}

void TestSearchIndex::querySanitised() {
    QFETCH(QString, input);
    QFETCH(QString, match);
    QCOMPARE(parseSearchQuery(input).match, match);
}

void TestSearchIndex::matching_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("found"); // best first

    // kDump1: "Conta de luz paga em 10/03: ação urgente."
    // kDump2: "A LUZ da sala; conta paga. Luzes novas."
    // kDump3: "Endereço: Rua das Acácias, 12"
    QTest::newRow("accent-blind") << u"acao"_s << QStringList{kDump1};
    QTest::newRow("case-blind") << u"AÇÃO"_s << QStringList{kDump1};
    QTest::newRow("accented query, plain text") << u"ácacias"_s << QStringList{kDump3};
    QTest::newRow("both words") << u"conta luz"_s << QStringList{kDump2, kDump1};
    QTest::newRow("phrase") << u"\"conta de luz\""_s << QStringList{kDump1};
    QTest::newRow("phrase in other order") << u"\"luz de conta\""_s << QStringList{};
    QTest::newRow("whole word only") << u"luze"_s << QStringList{};
    QTest::newRow("prefix") << u"luze*"_s << QStringList{kDump2};
    QTest::newRow("recovered dump") << u"endereco rua"_s << QStringList{kDump3};
    QTest::newRow("syntax is no error") << u"rua) -12 ^\""_s << QStringList{kDump3};
}

void TestSearchIndex::matching() {
    QFETCH(QString, query);
    QFETCH(QStringList, found);
    const QString folder = platform::dataFolder();
    test::writeDump(folder, kDump1, u"Conta de luz paga em 10/03: ação urgente."_s);
    test::writeDump(folder, kDump2, u"A LUZ da sala; conta paga. Luzes novas."_s);
    // Recovered dumps may lie in a fallback folder.
    test::writeDump(folder + u"/fallback"_s, kDump3, u"Endereço: Rua das Acácias, 12"_s);
    test::IndexedService index(indexPath(), {folder, folder + u"/fallback"_s});
    QCOMPARE(index.find(query), found);
}

void TestSearchIndex::equalScoresNewestFirst() {
    const QString folder = platform::dataFolder();
    for (const QString &name : {kDump2, kDump1, u"Brevnote20250101000000.txt"_s})
        test::writeDump(folder, name, u"boleto do condomínio"_s);
    test::IndexedService index(indexPath(), {folder});
    QCOMPARE(index.find(u"condominio"_s),
             QStringList({kDump2, kDump1, u"Brevnote20250101000000.txt"_s}));
}

void TestSearchIndex::excerptMarksTheWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("html");

    QTest::newRow("accented word")
        << u"Pagar a conta.\r\nAção rápida"_s << u"acao"_s << u"Pagar a conta.  [Ação] rápida"_s;
    QTest::newRow("phrase and prefix")
        << u"a conta de luz e luzes"_s << u"\"de luz\" luze*"_s << u"a conta [de luz] e [luzes]"_s;
    QTest::newRow("inside a word is no match")
        << u"reluz e luz"_s << u"luz"_s << u"reluz e [luz]"_s;
    QTest::newRow("escaped") << u"<b>x</b> & luz"_s << u"luz"_s
                             << u"&lt;b&gt;x&lt;/b&gt; &amp; [luz]"_s;
    QTest::newRow("far into the text")
        << QString(u"palavra "_s.repeated(20) + u"alvo fim"_s) << u"alvo"_s
        << u"…palavra palavra palavra palavra palavra [alvo] fim"_s;
    QTest::newRow("phrase after its own first word")
        << u"conta conta de luz"_s << u"\"conta de luz\""_s << u"conta [conta de luz]"_s;
    QTest::newRow("word right after a phrase's first word")
        << u"de luzes"_s << u"\"de luz\" luze*"_s << u"de [luzes]"_s;
    QTest::newRow("emoji ends a word passed over")
        << u"x\U0001F600luz"_s << u"luz"_s << u"x\U0001F600[luz]"_s;
    QTest::newRow("phrase and word of other lengths")
        << u"d a b a b c d"_s << u"\"a b c\" d"_s << u"[d] a b [a b c] [d]"_s;
}

void TestSearchIndex::excerptMarksTheWords() {
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(QString, html);
    const Excerpt excerpt = makeExcerpt(text, parseSearchQuery(query).terms);
    QCOMPARE(markedHtml(excerpt.text, excerpt.marks, u"["_s, u"]"_s), html);
}

void TestSearchIndex::pieceExcerptIsTheWholeTextExcerpt_data() {
    QTest::addColumn<QByteArray>("bytes"); // the dump's file
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("firstMark"); // empty: no match
    // Blanks up to `into` bytes before the end of the first piece.
    const auto upTo = [](qsizetype into) { return QByteArray(kDumpPieceBytes - into, ' '); };

    QTest::newRow("word across a piece's end")
        << upTo(2) + "conta de luz" << u"conta"_s << u"conta"_s;
    QTest::newRow("phrase across a piece's end")
        << upTo(6) + "conta de luz" << u"\"conta de luz\""_s << u"conta de luz"_s;
    QTest::newRow("word begun in the piece before")
        << upTo(2) + "reluz e luz" << u"luz"_s << u"luz"_s;
    QTest::newRow("prefix across a piece's end")
        << upTo(3) + "relat\xf3rio final" << u"relat*"_s << u"relatório"_s;
    QTest::newRow("accents at the cut, Windows-1252")
        << upTo(2) + "a\xe7\xe3o urgente" << u"acao"_s << u"ação"_s;
    QTest::newRow("UTF-8 character split by the cut")
        << upTo(2) + "a\xc3\xa7\xc3\xa3o urgente" << u"acao"_s << u"ação"_s;
    QTest::newRow("letter outside the basic plane split by the cut")
        << upTo(2) + "a\xf0\x90\x90\x80" + "b fim" << u"a\U00010400b"_s << u"a\U00010400b"_s;
    // Valid UTF-8 in the first piece, but the file as a whole is not.
    QTest::newRow("Windows-1252 decided after the match")
        << "conta \xc3\xa7" + QByteArray(3 * kDumpPieceBytes, ' ') + "\xe9" << u"conta"_s
        << u"conta"_s;
    QTest::newRow("no match at all")
        << QByteArray("palavra ").repeated(kDumpPieceBytes / 2) << u"inexistente"_s << QString();
    QTest::newRow("match only at the very end")
        << QByteArray("palavra ").repeated(kDumpPieceBytes / 3) + "alvo" << u"alvo"_s << u"alvo"_s;
    // The line (40 characters before the word, 160 in all) ends where the piece does.
    QTest::newRow("line ends where a piece ends")
        << upTo(120) + "alvo" + QByteArray(200, ' ') << u"alvo"_s << u"alvo"_s;
    QTest::newRow("NUL bytes in the next piece")
        << upTo(2) + QByteArray("alvo\0\0fim", 9) << u"alvo fim"_s << u"alvo"_s;
}

void TestSearchIndex::pieceExcerptIsTheWholeTextExcerpt() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, query);
    QFETCH(QString, firstMark);
    const QString path = platform::dataFolder() + u'/' + kDump1;
    QVERIFY(test::writeBytes(path, bytes));
    const QList<SearchTerm> terms = parseSearchQuery(query).terms;
    const Excerpt whole = makeExcerpt(readDumpText(path), terms);
    const Excerpt pieces = dumpExcerpt(path, terms);
    QCOMPARE(pieces.text, whole.text);
    QCOMPARE(pieces.marks, whole.marks);
    const QString marked =
        whole.marks.isEmpty()
            ? QString()
            : whole.text.sliced(whole.marks.first().start,
                                whole.marks.first().end - whole.marks.first().start);
    QCOMPARE(marked, firstMark);
}

void TestSearchIndex::newDumpFoundOnceWritten() {
    const QString folder = platform::dataFolder();
    test::writeDump(folder, kDump1, u"primeiro texto"_s);
    test::IndexedService index(indexPath(), {folder});
    QCOMPARE(index.find(u"orçamento"_s), QStringList());
    const QString path = test::writeDump(folder, kDump2, u"orçamento da reforma"_s);
    index.service->dumpWritten(path);
    // Requests are answered in order: the dump is in before the search runs.
    QCOMPARE(index.find(u"orcamento"_s), QStringList{kDump2});
}

void TestSearchIndex::deletedDumpGoneAfterRestart() {
    const QString folder = platform::dataFolder();
    test::writeDump(folder, kDump1, u"senha do wifi"_s);
    test::writeDump(folder, kDump2, u"senha do banco"_s);
    {
        test::IndexedService index(indexPath(), {folder});
        QCOMPARE(index.find(u"senha"_s).size(), 2);
    }
    {
        // Committed once indexed, not only when the program ends.
        DumpIndex index;
        QCOMPARE(index.open(indexPath()), QString());
        QCOMPARE(index.dumpCount(), 2);
    }
    QVERIFY(QFile::remove(folder + u'/' + kDump1));
    // A dump that changed is read again.
    test::writeDump(folder, kDump2, u"senha trocada"_s);
    test::IndexedService index(indexPath(), {folder});
    QCOMPARE(index.find(u"senha"_s), QStringList{kDump2});
    QCOMPARE(index.find(u"wifi"_s), QStringList());
    QCOMPARE(index.find(u"banco"_s), QStringList());
    QCOMPARE(index.find(u"trocada"_s), QStringList{kDump2});
}

void TestSearchIndex::manyForgottenDumpsIndexedAnew() {
    const QString folder = platform::dataFolder();
    QStringList paths;
    for (int i = 0; i < 102; ++i)
        paths.append(test::writeDump(
            folder, u"Brevnote2026010100%1.txt"_s.arg(i / 60 * 100 + i % 60, 4, 10, QChar(u'0')),
            u"recibo %1"_s.arg(i)));
    { test::IndexedService first(indexPath(), {folder}); }
    for (int i = 1; i < paths.size(); ++i)
        QVERIFY(QFile::remove(paths.at(i)));
    {
        test::IndexedService second(indexPath(), {folder});
        QCOMPARE(second.find(u"recibo"_s), QStringList{QFileInfo(paths.first()).fileName()});
    }
    // 101 forgotten against one dump: the words of the deleted ones are gone too.
    DumpIndex index;
    QCOMPARE(index.open(indexPath()), QString());
    QCOMPARE(index.forgottenCount(), 0);
    QCOMPARE(index.dumpCount(), 1);
}

void TestSearchIndex::mergedIndexFindsTheSame() {
    const QString folder = platform::dataFolder();
    DumpIndex index;
    QCOMPARE(index.open(indexPath()), QString());
    // A transaction each: three segments, fewer than FTS5 merges by itself.
    for (int i = 0; i < 3; ++i) {
        const QString path = test::writeDump(folder, u"Brevnote2026010100000%1.txt"_s.arg(i),
                                             u"fatura %1 paga"_s.arg(i));
        QVERIFY(index.addDump(*dumpFileAt(path)));
    }
    QVERIFY(index.mergeSome(1));
    int calls = 1;
    while (calls < 100 && index.mergeSome(1))
        ++calls;
    QVERIFY(calls < 100);
    QVERIFY(!index.mergeSome(1000));
    QCOMPARE(index.search(parseSearchQuery(u"fatura"_s), 10).size(), 3);
    const QList<SearchHit> phrase = index.search(parseSearchQuery(u"\"1 paga\""_s), 10);
    QCOMPARE(phrase.size(), 1);
    QCOMPARE(QFileInfo(phrase.first().path).fileName(), u"Brevnote20260101000001.txt"_s);
}

void TestSearchIndex::badIndexSetAsideAndRebuilt_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("garbage") << QByteArray("not a database at all\n").repeated(200);
    QByteArray header("SQLite format 3");
    header.append('\0');
    QTest::newRow("damaged header") << header + QByteArray(4080, '\x7f');
    QTest::newRow("empty file") << QByteArray();
}

void TestSearchIndex::badIndexSetAsideAndRebuilt() {
    QFETCH(QByteArray, bytes);
    const QString folder = platform::dataFolder();
    test::writeDump(folder, kDump1, u"recibo do aluguel"_s);
    QVERIFY(test::writeBytes(indexPath(), bytes));
    test::IndexedService index(indexPath(), {folder});
    QCOMPARE(index.find(u"aluguel"_s), QStringList{kDump1});
    QCOMPARE(index.service->notice(), QString()); // on disk, not in memory
    if (bytes.isEmpty()) {
        // An empty file is simply a new database.
        QCOMPARE(setAsideFiles(), QStringList());
        return;
    }
    const QStringList aside = setAsideFiles();
    QCOMPARE(aside.size(), 1);
    QCOMPARE(test::readBytes(folder + u'/' + aside.first()), bytes);
}

void TestSearchIndex::nonTextDumpDoesNotStopTheIndexer() {
    const QString folder = platform::dataFolder();
    // Newest first: the binary one comes before the good one.
    QByteArray binary("inicio\0\xff\xfe\x80 meio \0\0", 19);
    binary += QByteArray(5000, '\0') + "fimdobinario";
    QVERIFY(test::writeBytes(folder + u'/' + kDump2, binary));
    // Cut in the middle of a UTF-8 character.
    QVERIFY(test::writeBytes(folder + u"/Brevnote20260309000000.txt"_s, "cora\xc3"));
    test::writeDump(folder, kDump1, u"texto bom"_s);
    // A folder with a dump's name is no dump.
    QVERIFY(QDir(folder).mkdir(u"Brevnote20260313000000.txt"_s));
    test::IndexedService index(indexPath(), {folder});
    QCOMPARE(index.find(u"bom"_s), QStringList{kDump1});
    QCOMPARE(index.find(u"fimdobinario meio"_s), QStringList{kDump2});
    QCOMPARE(index.find(u"cora*"_s), QStringList{u"Brevnote20260309000000.txt"_s});
}

void TestSearchIndex::unwritableFolderSearchesFromMemory() {
    QTemporaryDir dir;
    const QString unwritable = test::unwritablePath(dir, u"dados"_s);
    const QString folder = platform::dataFolder();
    test::writeDump(folder, kDump1, u"nota fiscal"_s);
    test::IndexedService index(unwritable + u'/' + dumpIndexFileName(), {folder});
    QVERIFY(index.service->notice().contains(unwritable));
    QCOMPARE(index.find(u"fiscal"_s), QStringList{kDump1});
}

void TestSearchIndex::indexClosedWhileIdleOpensAgain_data() {
    QTest::addColumn<bool>("newDump");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("search") << false << false;
    QTest::newRow("dump written") << true << false;
    QTest::newRow("file damaged meanwhile") << false << true;
}

void TestSearchIndex::indexClosedWhileIdleOpensAgain() {
    QFETCH(bool, newDump);
    QFETCH(bool, damaged);
    const QString folder = platform::dataFolder();
    test::writeDump(folder, kDump1, u"boleto da escola"_s);
    test::IndexedService index(indexPath(), {folder}, 0);
    QTRY_VERIFY(!indexFileOpen());
    // With the file closed the thread ends too, and the next request brings it back.
    QTRY_VERIFY(!index.service->threadRunning());
    QStringList expected{kDump1};
    if (newDump) {
        expected.prepend(kDump2);
        index.service->dumpWritten(test::writeDump(folder, kDump2, u"boleto do condomínio"_s));
    }
    if (damaged)
        QVERIFY(test::writeBytes(indexPath(), QByteArray("not a database at all\n").repeated(200)));
    QTRY_COMPARE(index.find(u"boleto"_s), expected);
    QCOMPARE(setAsideFiles().size(), damaged ? 1 : 0);
    QTRY_VERIFY(!indexFileOpen());
    QTRY_VERIFY(!index.service->threadRunning());
    QVERIFY(index.service->started());
}

BREVNOTE_TEST_GUILESS_MAIN(TestSearchIndex)
#include "tst_searchindex.moc"
