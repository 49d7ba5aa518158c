#include "HttpConnectProxy.h"

#include <strings.h>

#include "HttpExchange.h"
#include "Splice.h"

namespace proxies {

namespace {

int StatusForError(ForwardError error)
{
    switch (error) {
    case ForwardError::kNotAllowed: return 403;
    case ForwardError::kTimedOut: return 504;
    default: return 502;
    }
}

// "http://host[:port]/path" gives the host's endpoint and "/path".
bool SplitAbsoluteTarget(const std::string& target, Endpoint& endpoint, std::string& path)
{
    static const std::string kScheme = "http://";
    if (strncasecmp(target.c_str(), kScheme.c_str(), kScheme.size()) != 0)
        return false;
    const size_t slash = target.find('/', kScheme.size());
    const std::string authority = target.substr(kScheme.size(), slash - kScheme.size());
    path = slash == std::string::npos ? "/" : target.substr(slash);
    if (ParseEndpoint(authority, endpoint))
        return true;
    endpoint = {authority, 80};
    return !authority.empty() && authority.find(':') == std::string::npos;
}

void ReportSplice(Connection& connection, const SpliceTotals& totals)
{
    connection.Note("%llu bytes to the destination, %llu to the client; %s",
                    static_cast<unsigned long long>(totals.toTarget),
                    static_cast<unsigned long long>(totals.toClient), totals.end.c_str());
}

}  // namespace

void HttpConnectProxy::Serve(Connection& connection)
{
    HttpHead request;
    if (!ReadRequestHead(connection, options_.handshakeTimeoutMs, "http request",
                         [&](int status) { Answer(connection, status); }, request))
        return;
    if (options_.requireLogin &&
        !BasicCredentialsMatch(request.Field("Proxy-Authorization"), options_.user,
                               options_.password)) {
        connection.Note("%s %s without the right authorisation", request.method.c_str(),
                        QuotedText(request.target).c_str());
        Answer(connection, 407, {{"Proxy-Authenticate", "Basic realm=\"mardavel\""}});
        return;
    }
    if (request.method == "CONNECT")
        ServeConnect(connection, request);
    else
        PassOn(connection, request);
}

void HttpConnectProxy::ServeConnect(Connection& connection, const HttpHead& request)
{
    Endpoint requested;
    if (!ParseEndpoint(request.target, requested)) {
        connection.Note("CONNECT to %s: not host:port", QuotedText(request.target).c_str());
        Answer(connection, 400);
        return;
    }
    connection.Note("CONNECT %s", requested.Text().c_str());
    if (options_.connectStatus != 0 && options_.connectStatus != 200) {
        Answer(connection, options_.connectStatus);
        return;
    }
    const std::unique_ptr<Stream> target = ConnectOrAnswer(connection, requested, options_.forward);
    if (!target)
        return;
    const std::string head = ShapedHead("HTTP/1.1 200 Connection established\r\n\r\n", options_.shape);
    connection.RecordText("http answer", head);
    if (connection.client().WriteAll(head) != IoStatus::kOk || options_.shape == ReplyShape::kShort)
        return;
    ReportSplice(connection, Splice(connection.client(), *target));
}

void HttpConnectProxy::PassOn(Connection& connection, const HttpHead& request)
{
    Endpoint destination;
    std::string path = request.target;
    // As real proxies do, a request must name its destination in full
    // ("http://host:port/path"): a path alone is refused, whatever the Host field says.
    if (!SplitAbsoluteTarget(request.target, destination, path)) {
        connection.Note("%s %s: not an absolute address", request.method.c_str(),
                        QuotedText(request.target).c_str());
        Answer(connection, 400);
        return;
    }
    connection.Note("%s %s passed on to %s", request.method.c_str(), QuotedText(path).c_str(),
                    destination.Text().c_str());
    ForwardOptions forward;
    forward.connectTimeoutMs = options_.forward.connectTimeoutMs;
    const std::unique_ptr<Stream> target = ConnectOrAnswer(connection, destination, forward);
    if (!target)
        return;
    // The head goes on without the fields meant for this proxy.
    std::string head = request.method + " " + path + " " + request.version + "\r\n";
    for (const auto& field : request.fields)
        if (strcasecmp(field.first.c_str(), "Proxy-Authorization") != 0 &&
            strcasecmp(field.first.c_str(), "Proxy-Connection") != 0)
            head += field.first + ": " + field.second + "\r\n";
    head += "\r\n";
    if (target->WriteAll(head) != IoStatus::kOk) {
        connection.Note("cannot pass the request on");
        Answer(connection, 502);
        return;
    }
    ReportSplice(connection, Splice(connection.client(), *target));
}

std::unique_ptr<Stream> HttpConnectProxy::ConnectOrAnswer(Connection& connection,
                                                          const Endpoint& destination,
                                                          const ForwardOptions& forward)
{
    ForwardError error = ForwardError::kNone;
    std::string reason;
    std::unique_ptr<Stream> target =
        OpenDestination(destination, forward, connection.client().stop(), error, reason);
    if (!target) {
        connection.Note("cannot connect: %s", reason.c_str());
        Answer(connection, StatusForError(error));
    }
    return target;
}

void HttpConnectProxy::Answer(Connection& connection, int status,
                              const std::vector<std::pair<std::string, std::string>>& fields)
{
    SendOwnAnswer(connection, "HTTP/1.1", "http answer", options_.shape, status, fields);
}

}  // namespace proxies
