#pragma once

#include "update/UpdateFixture.h"

#include "update/frmDataUpdate2.h"

#include <QProcess>

namespace updatetest {

// A local FTP server (Debian's python3-pyftpdlib) on 127.0.0.1 at a free port, serving a folder that holds
// "/html/kelva/cgi/" for the account kelva / kelva.
class LocalFtpServer {
public:
    LocalFtpServer();
    ~LocalFtpServer();
    bool started() const { return port_ > 0; }
    int port() const { return port_; }
    // A file of "/html/kelva/cgi/"; absent when content is empty and remove is set.
    void put(const QString& name, const QByteArray& content);
    QString path(const QString& name) const;
    void stop();

private:
    QTemporaryDir root_;
    QProcess process_;
    int port_ = 0;
};

// The data update window on a program folder of its own: the main database of UpdateTest with three session
// tables besides "Default"'s, the program's connect text, and the update server's settings restored after.
class WizardTest : public UpdateTest {
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFile(const QString& name) const;
    // Writes the program folder's "kelvaupd04.mdb" dated `date`, with every source and one physician code.
    void writeLocalUpdate(const QDateTime& date, bool withDrg = true);
    UpdateContent fullUpdate(const QDateTime& date, bool withDrg = true);
    frmDataUpdate2& wizard() { return load<frmDataUpdate2>(); }
    // "first", "second" or "third": the page the window shows.
    static QString page(frmDataUpdate2& w);
    // Every table the update may touch, the session tables included, row by row.
    std::map<QString, QStringList> everything();

    static inline const QString kCompletion = QStringLiteral(
        "Update Complete. The tables updated inlcude:  ASC  Lab  DME  DRG  JCODE  LOCATION  KELVA . The application "
        "will need to be restarted.");
    static inline const QString kPreparation = QStringLiteral(
        "This updates the necessary tables in KELVA Morvex. This process may take up to 5 minutes on an older PC. If "
        "the process should stop while in progress of updating, you will need to rerun the update before using KELVA "
        "Morvex again.");

private:
    QString serverPassword_;
    int serverPort_ = 0;
};

}  // namespace updatetest
