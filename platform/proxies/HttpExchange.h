// What the HTTP proxy and the tunnel relay do alike on a connection: read
// the client's request head, and send an answer of their own.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "HttpText.h"
#include "ProxyServer.h"

namespace proxies {

using HttpFields = std::vector<std::pair<std::string, std::string>>;

// Reads and parses the request head within timeoutMs and records it as
// `recordStep`. A head too long is answered 431 and one that does not parse
// 400, through `answer`; false when the connection has nothing more to do.
bool ReadRequestHead(Connection& connection, int timeoutMs, const char* recordStep,
                     const std::function<void(int status)>& answer, HttpHead& request);

// "<version> <status> <reason>" with the fields, "Content-Length: 0" and
// "Connection: close", shaped, recorded as `recordStep` and sent; the
// connection ends after it.
void SendOwnAnswer(Connection& connection, const char* version, const char* recordStep,
                   ReplyShape shape, int status, const HttpFields& fields);

}  // namespace proxies
