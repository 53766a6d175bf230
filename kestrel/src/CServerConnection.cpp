#include "kestrel/CServerConnection.h"

#include "CServerLink.h"

namespace kestrel {

namespace {
CServerLink& Link() { return CServerLink::Instance(); }
}  // namespace

CServerConnection& CServerConnection::Instance() {
    static CServerConnection* instance = new CServerConnection;  // lives until process exit
    return *instance;
}

bool CServerConnection::Connect(const ConnectTimings& timings) { return Link().Connect(timings); }
void CServerConnection::Disconnect() { Link().Disconnect(); }
bool CServerConnection::IsConnected() const { return Link().IsConnected(); }
std::uint16_t CServerConnection::ClientId() const { return Link().ClientId(); }
std::uint32_t CServerConnection::ServerWindow() const { return Link().ServerWindow(); }
const std::string& CServerConnection::LastError() const { return Link().LastError(); }
int CServerConnection::StartedServerPid() const { return Link().StartedServerPid(); }

void CServerConnection::AttachDispatcher(IDispatcher& dispatcher) {
    Link().AttachDispatcher(dispatcher);
}
void CServerConnection::DetachDispatcher() { Link().DetachDispatcher(); }
void CServerConnection::SetPostedMessageHandler(PostedHandler handler) {
    Link().SetPostedMessageHandler(std::move(handler));
}
void CServerConnection::DisconnectAtExit() { Link().DisconnectAtExit(); }

}  // namespace kestrel
