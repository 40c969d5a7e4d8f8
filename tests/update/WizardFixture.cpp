#include "update/WizardFixture.h"

#include "app/endprogram.h"
#include "app/globals.h"
#include "db/sessions.h"
#include "platform/dao/Transaction.h"
#include "update/updateserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace updatetest {

namespace {

const char* const kServerScript = R"(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.disable(logging.CRITICAL)
auth = DummyAuthorizer()
auth.add_user('kelva', 'kelva', sys.argv[1], perm='elr')
FTPHandler.authorizer = auth
FTPHandler.auth_failed_timeout = 0
server = FTPServer(('127.0.0.1', 0), FTPHandler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
)";

}  // namespace

LocalFtpServer::LocalFtpServer()
{
    QDir(root_.path()).mkpath(QStringLiteral("html/kelva/cgi"));
    // Debian's interpreter, which has the package, whatever python3 comes first on the path.
    const QString python =
        QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : "python3";
    process_.start(python, {QStringLiteral("-c"), QString::fromUtf8(kServerScript), root_.path()});
    if (!process_.waitForStarted(5000))
        return;
    while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
    }
    port_ = process_.readLine().trimmed().toInt();
}

LocalFtpServer::~LocalFtpServer()
{
    stop();
}

void LocalFtpServer::stop()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString LocalFtpServer::path(const QString& name) const
{
    return root_.filePath(QStringLiteral("html/kelva/cgi/") + name);
}

void LocalFtpServer::put(const QString& name, const QByteArray& content)
{
    QFile f(path(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
}

void WizardTest::SetUp()
{
    UpdateTest::SetUp();
    resetProgramEnded();
    g() = Globals{};
    g().ProgramFolder = QFileInfo(main->path()).path();
    g().DbConnect = testsupport::programConnect();
    serverPassword_ = update::updateServer().password;
    serverPort_ = update::updateServer().port;

    dao::Transaction trans(db());
    db::insertRow(db(), "DATA0000", {{"CODEMOD", "99213"}, {"CPT", "99213"}, {"WORKZ", 1.0}, {"S1", 10.0}});
    for (int n = 1; n <= 3; ++n) {
        db::createSessionCodeTable(db(), QString("DATA000%1").arg(n), "DATA0000");
        db::insertRow(db(), "SESSIONS",
                      {{"Session", QString("S%1").arg(n)}, {"SESTAB", QString("DATA000%1").arg(n)},
                       {"CURCONVF", 35.8228}, {"CURCONVA", 1.25}});
    }
    db().Execute("UPDATE SESSIONS SET CURCONVF = 35.8228, CURCONVA = 1.25");
    db().Execute("UPDATE PARMS_CL SET dataupdate = '2013-01-01 00:00:00', CURCONVF = 35.8228");
    trans.Commit();
}

void WizardTest::TearDown()
{
    UpdateTest::TearDown();
    update::closeConnection();
    update::connection().NoInternet = 0;
    update::connection().strStepMessage.clear();
    update::updateServer().password = serverPassword_;
    update::updateServer().port = serverPort_;
    g() = Globals{};
    resetProgramEnded();
}

QString WizardTest::programFile(const QString& name) const
{
    return QDir(g().ProgramFolder).filePath(name);
}

UpdateContent WizardTest::fullUpdate(const QDateTime& date, bool withDrg)
{
    UpdateContent c = allSourcesContent(2, 7);
    if (!withDrg)
        c.sources.erase("DRG1");
    c.dataupdate = date;
    db::ColumnValues code = {{"Tag", ""}, {"CODEMOD", "99214"}, {"CPT", "99214"}, {"WORKZ", 2.0}};
    c.data00001 = Rows{code};
    return c;
}

void WizardTest::writeLocalUpdate(const QDateTime& date, bool withDrg)
{
    writeUpdateDatabase(programFile(update::kUpdateFileName), fullUpdate(date, withDrg));
}

QString WizardTest::page(frmDataUpdate2& w)
{
    QStringList shown;
    if (!w.Frame1->isHidden())
        shown << "first";
    if (!w.Frame2->isHidden())
        shown << "second";
    if (!w.Frame3->isHidden())
        shown << "third";
    return shown.join('+');
}

std::map<QString, QStringList> WizardTest::everything()
{
    std::map<QString, QStringList> all = snapshot();
    for (const char* t : {"DATA0001", "DATA0002", "DATA0003"})
        all[t] = rows(t);
    return all;
}

}  // namespace updatetest
