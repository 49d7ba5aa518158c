#include "HttpTunnelRelay.h"

#include <algorithm>
#include <cerrno>
#include <strings.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "HttpExchange.h"

namespace proxies {

namespace {

constexpr size_t kChunk = 16 * 1024;
const char* const kPath = "/default.asp";

bool ParseLength(const std::string* text, uint64_t& out)
{
    if (!text || text->empty() || text->size() > 18)
        return false;
    out = 0;
    for (const char c : *text) {
        if (c < '0' || c > '9')
            return false;
        out = out * 10 + uint64_t(c - '0');
    }
    return true;
}

}  // namespace

// One client's tunnel: the GET leg's thread owns the server connection; the
// POST leg arrives later on another thread and leaves its socket here.
struct HttpTunnelRelay::Session {
    Session() : wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~Session()
    {
        if (wake >= 0)
            ::close(wake);
    }

    std::mutex mutex;
    std::unique_ptr<Stream> post;  // handed over, not yet taken
    uint64_t postLength = 0;
    bool hasPost = false;
    bool ended = false;
    int wake;
};

void HttpTunnelRelay::Serve(Connection& connection)
{
    HttpHead request;
    if (!ReadRequestHead(connection, options_.handshakeTimeoutMs, "tunnel request",
                         [&](int status) { Answer(connection, status); }, request))
        return;
    if (request.method == "GET") {
        ServeGet(connection, request);
    } else if (request.method == "POST") {
        ServePost(connection, request);
    } else {
        connection.Note("method %s is not served", QuotedText(request.method).c_str());
        Answer(connection, 400);
    }
}

void HttpTunnelRelay::ServeGet(Connection& connection, const HttpHead& request)
{
    std::string path;
    std::vector<std::pair<std::string, std::string>> query;
    SplitTarget(request.target, path, query);
    if (strcasecmp(path.c_str(), kPath) != 0) {
        connection.Note("GET of %s", QuotedText(path).c_str());
        Answer(connection, 404);
        return;
    }
    TunnelQuery tunnel;
    std::string error;
    if (ParseTunnelQuery(query, tunnel, error) && tunnel.method != "CONNECT")
        error = "METHOD " + QuotedText(tunnel.method) + " is not served";
    if (!error.empty()) {
        connection.Note("GET leg: %s", error.c_str());
        Answer(connection, 400);
        return;
    }
    const Endpoint requested{tunnel.address, tunnel.port};
    const int number = ++gets_;
    connection.Note("GET leg %d for %s", number, requested.Text().c_str());

    if (number <= options_.redirects) {
        const Endpoint to = options_.redirectTo.value_or(Endpoint{"127.0.0.1", connection.serverPort()});
        connection.Note("redirected to %s", to.Text().c_str());
        Answer(connection, 302, {{"Location", to.Text()}, {"Redirect-Route", options_.route}});
        return;
    }
    if (!options_.requireRoute.empty()) {
        const std::string* route = request.Field("Redirect-Route");
        if (!route || *route != options_.requireRoute) {
            connection.Note("GET leg without the route %s", QuotedText(options_.requireRoute).c_str());
            Answer(connection, 403);
            return;
        }
    }

    ForwardError forwardError = ForwardError::kNone;
    std::string reason;
    const std::unique_ptr<Stream> server = OpenDestination(
        requested, options_.forward, connection.client().stop(), forwardError, reason);
    if (!server) {
        connection.Note("cannot connect: %s", reason.c_str());
        Answer(connection, forwardError == ForwardError::kNotAllowed ? 403 : 502);
        return;
    }
    for (int i = 0; i < options_.continues; ++i) {
        const std::string head = StatusHead("HTTP/1.1", 100);
        connection.RecordText("tunnel answer", head);
        if (connection.client().WriteAll(head) != IoStatus::kOk)
            return;
    }
    if (options_.getStatus != 200) {
        Answer(connection, options_.getStatus);
        return;
    }

    const std::string serial =
        options_.emptySerial ? std::string()
                             : "MDV" + std::to_string(connection.serverPort()) + "-" +
                                   std::to_string(++serials_);
    std::vector<std::pair<std::string, std::string>> fields;
    if (!serial.empty())
        fields.emplace_back("SERIALNO", serial);
    fields.emplace_back("Content-Type", "application/octet-stream");
    fields.emplace_back("Cache-Control", "no-cache");
    fields.emplace_back("Connection", "close");
    const std::string head = ShapedHead(StatusHead("HTTP/1.0", 200, fields), options_.shape);

    auto session = std::make_shared<Session>();
    CarriedSession carried;
    if (!serial.empty()) {
        std::lock_guard<std::mutex> lock(sessionsMutex_);
        sessions_[serial] = session;
    }
    connection.RecordText("tunnel answer", head);
    if (connection.client().WriteAll(head) == IoStatus::kOk && !serial.empty() &&
        options_.shape != ReplyShape::kShort) {
        connection.Note("session %s open", serial.c_str());
        carried = CarrySession(connection, *server, *session);
    }
    {
        std::lock_guard<std::mutex> lock(session->mutex);
        session->ended = true;
    }
    {
        std::lock_guard<std::mutex> lock(sessionsMutex_);
        sessions_.erase(serial);
    }
    // Noted only once the session is gone, so whoever reads the record
    // finds it closed.
    if (carried.end)
        connection.Note("session ended: %s; %llu bytes to the server, %llu to the client",
                        carried.end, static_cast<unsigned long long>(carried.toServer),
                        static_cast<unsigned long long>(carried.toClient));
}

void HttpTunnelRelay::ServePost(Connection& connection, const HttpHead& request)
{
    std::string path;
    std::vector<std::pair<std::string, std::string>> query;
    SplitTarget(request.target, path, query);
    if (strcasecmp(path.c_str(), kPath) != 0) {
        connection.Note("POST to %s", QuotedText(path).c_str());
        Answer(connection, 404);
        return;
    }
    const std::string* method = request.Field("METHOD");
    const std::string* serial = request.Field("SERIALNO");
    if (!method || *method != "SEND" || !serial) {
        connection.Note("POST leg without \"METHOD: SEND\" or \"SERIALNO\"");
        Answer(connection, 400);
        return;
    }
    uint64_t length = 0;
    if (!ParseLength(request.Field("Content-Length"), length)) {
        connection.Note("POST leg without a usable Content-Length");
        Answer(connection, 411);
        return;
    }
    std::shared_ptr<Session> session;
    {
        std::lock_guard<std::mutex> lock(sessionsMutex_);
        const auto found = sessions_.find(*serial);
        if (found != sessions_.end())
            session = found->second;
    }
    if (!session) {
        connection.Note("POST leg for the unknown session %s", QuotedText(*serial).c_str());
        Answer(connection, 404);
        return;
    }
    std::lock_guard<std::mutex> lock(session->mutex);
    if (session->ended || session->hasPost) {
        connection.Note("POST leg for session %s, which %s", serial->c_str(),
                        session->ended ? "has ended" : "has one already");
        Answer(connection, 409);
        return;
    }
    connection.Note("POST leg joins session %s (%llu bytes announced)", serial->c_str(),
                    static_cast<unsigned long long>(length));
    session->post = connection.TakeClient();
    session->postLength = length;
    session->hasPost = true;
    const uint64_t one = 1;
    ssize_t written = ::write(session->wake, &one, sizeof one);
    (void)written;
}

HttpTunnelRelay::CarriedSession HttpTunnelRelay::CarrySession(Connection& connection,
                                                              Stream& server, Session& session)
{
    Stream& get = connection.client();
    std::unique_ptr<Stream> post;
    bool postOpen = false;  // the client may still send on the POST leg
    uint64_t postLeft = 0;
    uint64_t toServer = 0;
    uint64_t toClient = 0;
    const char* end = nullptr;
    uint8_t chunk[kChunk];
    while (!end) {
        const bool buffered = get.HasBuffered() || (postOpen && post->HasBuffered());
        pollfd fds[5] = {{get.fd(), POLLIN, 0},
                         {server.fd(), POLLIN, 0},
                         {postOpen ? post->fd() : -1, POLLIN, 0},
                         {session.wake, POLLIN, 0},
                         {get.stop().fd(), POLLIN, 0}};
        if (::poll(fds, 5, buffered ? 0 : -1) < 0 && errno != EINTR) {
            end = "poll failed";
            break;
        }
        if (fds[4].revents & POLLIN) {
            end = "server stopping";
            break;
        }
        if (fds[3].revents & POLLIN) {
            uint64_t count;
            ssize_t got = ::read(session.wake, &count, sizeof count);
            (void)got;
            std::lock_guard<std::mutex> lock(session.mutex);
            post = std::move(session.post);
            postLeft = session.postLength;
            postOpen = post != nullptr;
        }
        size_t got = 0;
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            const IoStatus read = server.ReadAvailable(chunk, sizeof chunk, got);
            if (read != IoStatus::kOk)
                end = "the server closed";
            else if (got > 0 && get.WriteAll(chunk, got) != IoStatus::kOk)
                end = "the GET leg stopped reading";
            toClient += got;
        }
        if (!end && (get.HasBuffered() || (fds[0].revents & (POLLIN | POLLHUP | POLLERR)))) {
            // Nothing is expected on the GET leg after its request but its end.
            if (get.ReadAvailable(chunk, sizeof chunk, got) != IoStatus::kOk)
                end = "the GET leg closed";
        }
        if (!end && postOpen && (post->HasBuffered() || (fds[2].revents & (POLLIN | POLLHUP | POLLERR)))) {
            const size_t room = size_t(std::min<uint64_t>(sizeof chunk, postLeft));
            const IoStatus read = post->ReadAvailable(chunk, room, got);
            if (got > 0 && server.WriteAll(chunk, got) != IoStatus::kOk)
                end = "the server stopped reading";
            toServer += got;
            postLeft -= got;
            if (!end && (read != IoStatus::kOk || postLeft == 0)) {
                // The client has no more to send: the server is told so and
                // may still answer down the GET leg until it closes.
                connection.Note("%s", read != IoStatus::kOk ? "the POST leg closed"
                                                             : "the POST body is complete");
                postOpen = false;
                server.ShutdownWrite();
            }
        }
    }
    return {end, toServer, toClient};
}

void HttpTunnelRelay::Answer(Connection& connection, int status,
                             const std::vector<std::pair<std::string, std::string>>& fields)
{
    SendOwnAnswer(connection, "HTTP/1.0", "tunnel answer", options_.shape, status, fields);
}

size_t HttpTunnelRelay::openSessions() const
{
    std::lock_guard<std::mutex> lock(sessionsMutex_);
    return sessions_.size();
}

}  // namespace proxies
