#include "HttpExchange.h"

namespace proxies {

bool ReadRequestHead(Connection& connection, int timeoutMs, const char* recordStep,
                     const std::function<void(int status)>& answer, HttpHead& request)
{
    std::string text;
    const IoStatus status =
        connection.client().ReadHead(text, kMaxRequestHead, DeadlineIn(timeoutMs));
    if (status == IoStatus::kTooLong) {
        connection.Note("request head longer than %zu bytes", kMaxRequestHead);
        answer(431);
        return false;
    }
    if (status != IoStatus::kOk) {
        connection.Note("request head incomplete: %s", Describe(status));
        return false;
    }
    connection.RecordText(recordStep, text);
    std::string error;
    if (!ParseRequestHead(text, request, error)) {
        connection.Note("%s", error.c_str());
        answer(400);
        return false;
    }
    return true;
}

void SendOwnAnswer(Connection& connection, const char* version, const char* recordStep,
                   ReplyShape shape, int status, const HttpFields& fields)
{
    HttpFields all = fields;
    all.emplace_back("Content-Length", "0");
    all.emplace_back("Connection", "close");
    const std::string head = ShapedHead(StatusHead(version, status, all), shape);
    connection.RecordText(recordStep, head);
    connection.client().WriteAll(head);
}

}  // namespace proxies
