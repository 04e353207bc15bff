#include "locallink.h"

TLocalLink::TLocalLink(TLocalTable& table, const QString& host, QObject* parent)
    : TSessionLink(parent), table_(table), host_(host)
{
}

TLocalLink::~TLocalLink()
{
    if (id_ != kNoConnection)
        table_.Hangup(id_);
}

void TLocalLink::Open()
{
    if (id_ != kNoConnection)
        Close();
    emit connecting();
    id_ = table_.Connect(*this, host_);
    emit connected();
}

void TLocalLink::Close()
{
    if (id_ == kNoConnection)
        return;
    table_.Hangup(std::exchange(id_, kNoConnection));
    emit disconnected();
}

void TLocalLink::Send(TPacketType type, const QByteArray& payload)
{
    if (id_ != kNoConnection)
        table_.Post(id_, type, payload);
}

void TLocalLink::Closed()
{
    id_ = kNoConnection;
    emit disconnected();
}
