#pragma once

#include "WindowHarness.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TfrmMain;

// A window on the fake server, its account "visitante" with time stamps off, plus the given keys
// of one section; connect() logs in and forgets the bytes of the login.
class WindowSession
{
public:
    WindowSession(const QString& section, const QStringList& keys);

    bool connect();
    // Everything the server got since the last call, up to a marker line sent now; the flood
    // queue keeps the order.
    QByteArray sentSoFar();

    WindowHarness h;
    TfrmMain* w = nullptr;

private:
    int m_marks = 0;
};
