#include "reminders/alarmpage.h"

#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

namespace brevnote {

QStringList AlarmPageTemplate() {
    return {
        QStringLiteral(R"(<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">)"),
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral(R"(  <meta content="text/html; charset=ISO-8859-1")"),
        QStringLiteral(R"( http-equiv="content-type">)"),
        QStringLiteral("  <title>x</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body"),
        QStringLiteral(R"( style="background-color: rgb(255, 255, 204); color: rgb(0, 0, 0);")"),
        QStringLiteral(R"( alink="#ee0000" link="#0000ee" vlink="#551a8b">)"),
        QStringLiteral("<div"),
        QStringLiteral(R"( style="text-align: center; background-color: rgb(51, 102, 102); )"
                       R"(font-family: Arial; color: rgb(255, 255, 0);"><big><big><big>)"
                       R"([Evento]</big></big></big></div>)"),
        QStringLiteral("<hr>"),
        QStringLiteral(R"(<div style="text-align: center; font-family: Arial;"><big>[Mensagem])"),
        QStringLiteral("</big></div>"),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
}

QString AlarmPageText(const QString &name, const QString &message) {
    QString page = AlarmPageTemplate().join(QStringLiteral("\r\n"));
    page.replace(QStringLiteral("[Evento]"), name, Qt::CaseInsensitive);
    const QString shown = TrimBlanks(message).isEmpty() ? name : message;
    page.replace(QStringLiteral("[Mensagem]"), shown, Qt::CaseInsensitive);
    return page;
}

QString WriteAlarmPage(const QString &pageText) {
    const QString fileName =
        currentDateTime().time().toString(QStringLiteral("HHmmsszzz")) + QStringLiteral(".htm");
    const QString path = AppSubPath(QStringLiteral("tmp"), fileName);
    writeLinesFile(path, splitLines(pageText));
    return path;
}

} // namespace brevnote
