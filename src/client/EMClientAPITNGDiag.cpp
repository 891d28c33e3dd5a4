#include "EMClientAPITNGDiag.h"

#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "EMClientAPISecurity.h"
#include "EMClientAPITNG.h"
#include "EMClientAPITNGSteps.h"

namespace {

constexpr const char* kPlaceholderSummary = "Error: No disk exercise summary (unknown error).";
constexpr const char* kOlderManager = "xmlintr - is not yet supported or known";
constexpr int kFieldSize = 80;

int report(int code) {
    EMClientAPITNGGetErrorDescription(code, nullptr, 0);
    return code;
}

const char* text_or_empty(const char* text) { return text ? text : ""; }

struct Operation {
    bool versionQuery;  // port 2301 and interface 3.00; else 12301
    const char* version;
    bool trace;
};

constexpr Operation kVersionQuery{true, "3.00", false};
constexpr Operation kExerciseChange{false, "3.2", true};
constexpr Operation kPlain32{false, "3.2", false};
constexpr Operation kObjectList{false, "3.00", false};

// The version-3 request around one operation element.
SString v3_request(const Operation& op, const char* server, const char* user, const char* password,
                   const SString& operation) {
    SString r = SString("POST /ResEltTslPyrite/XMLIntr HTTP/1.1\nHost:") + text_or_empty(server) +
                (op.versionQuery ? ":2301\n" : ":12301\n") +
                "Content-Type:text/SOAP\nContent-Length:500\n"
                "SOAPAction:\"urn:VELTRA-Kestrel:BridgeXMLInterface.v3\"\n\n"
                "<Envelope xmlns='" +
                (std::strcmp(op.version, "3.2") == 0 ? "http://www.veltra.com/qxapiv32" : "http://www.veltra.com/qxapiv3") +
                "'><Header><version>" + op.version + "</version>" +
                "<application><hostip>123.123.123.123</hostip><hostname>unknown</hostname>"
                "<applicationname>EMClientAPITNG</applicationname><applicationtype>00</applicationtype>"
                "</application><tracerequest>" +
                (op.trace ? "always" : "never") +
                "</tracerequest><disablevalidation/></Header><Body><NsaServerOperation>" + operation +
                "</NsaServerOperation><username>" + text_or_empty(user) + "</username><userpassword>" +
                text_or_empty(password) + "</userpassword></Body></Envelope>\n";
    return r;
}

SString cell_operation(const char* name, const char* cellId) {
    return SString("<") + name + "><scellid>" + text_or_empty(cellId) + "</scellid></" + name + ">";
}

// One exchange; the reply (possibly null) is the caller's to release.
int exchange(const SString& request, char*& reply) {
    int length = 0;
    reply = nullptr;
    return EMClientAPITNGCommandEx(TextOf(request), &reply, &length, 0);
}

// A new array holding the text (302 when there is no memory).
int give_text(const SString& text, char** out) {
    size_t n = static_cast<size_t>(SizeOf(text));
    char* copy = new (std::nothrow) char[n + 1];
    if (copy == nullptr) return report(EMCLIENTAPI_ALLOCATION_ERROR);
    std::memcpy(copy, TextOf(text), n + 1);
    *out = copy;
    return 0;
}

// The text between open and close, the search for close starting after
// open; false when either is missing.
bool between(std::string_view text, std::string_view open, std::string_view close, size_t from,
             std::string_view& content, size_t& end) {
    size_t start = text.find(open, from);
    if (start == std::string_view::npos) return false;
    start += open.size();
    end = text.find(close, start);
    if (end == std::string_view::npos) return false;
    content = text.substr(start, end - start);
    return true;
}

// Copies an element's content into an 80-character field: 203 without the
// element, 301 (field unchanged) when it does not fit with its terminator.
int copy_field(std::string_view reply, const char* name, char* field) {
    std::string_view content;
    size_t end = 0;
    std::string open = std::string("<") + name + ">";
    std::string close = std::string("</") + name + ">";
    if (!between(reply, open, close, 0, content, end)) return report(EMCLIENTAPI_INVALIDSERVERRESPONSE_ERROR);
    if (content.size() >= static_cast<size_t>(kFieldSize)) return report(EMCLIENTAPI_BUFFERTOOSMALL_ERROR);
    std::memset(field, 0, kFieldSize);
    std::memcpy(field, content.data(), content.size());
    return 0;
}

void set_field(char* field, const char* text) {
    std::memset(field, 0, kFieldSize);
    std::strcpy(field, text);
}

// The status message of a reply, when there is one, to *message.
int give_status_message(const char* reply, char** message) {
    if (reply == nullptr || message == nullptr) return 0;
    SString text = ExtractErrorMessage(reply);
    return text.IsEmpty() ? 0 : give_text(text, message);
}

// The disk-name list split at its commas, each piece trimmed of blanks; the
// piece after the last comma counts only when something is left of it.
int split_names(const char* diskNames, UList& names) {
    std::string_view rest(diskNames);
    for (;;) {
        size_t comma = rest.find(',');
        std::string_view piece = rest.substr(0, comma);
        SString* name = new (std::nothrow) SString;
        if (name == nullptr || name->AssignRange(piece.data(), piece.size()) != 0 ||
            name->RemovePrecedingSpaces() != 0 || name->RemoveTrailingSpaces() != 0) {
            delete name;
            return report(EMCLIENTAPI_ALLOCATION_ERROR);
        }
        if (comma == std::string_view::npos && name->IsEmpty()) {
            delete name;
            return 0;
        }
        if (names.AddTail(name) != ULIST_SUCCESS) {
            delete name;
            return report(EMCLIENTAPI_ALLOCATION_ERROR);
        }
        if (comma == std::string_view::npos) return 0;
        rest.remove_prefix(comma + 1);
    }
}

// The start operation's disk elements: every disk without names, else the
// first disk whose name begins with each name (500 for a name that begins
// none).
int disk_elements(UList& disks, UList& names, SString& out) {
    auto add = [&out](const EMClientAPITNGObject* disk) {
        return (out += "<diskid>") | (out += disk->id) | (out += "</diskid>");
    };
    if (names.IsEmpty()) {
        for (SListNode* pos = disks.GetHeadPtr(); pos;)
            if (add(static_cast<EMClientAPITNGObject*>(disks.GetAndNextPtr(pos))) != 0)
                return report(EMCLIENTAPI_ALLOCATION_ERROR);
        return 0;
    }
    for (SListNode* n = names.GetHeadPtr(); n;) {
        const SString* name = static_cast<SString*>(names.GetAndNextPtr(n));
        const EMClientAPITNGObject* found = nullptr;
        for (SListNode* d = disks.GetHeadPtr(); d && found == nullptr;) {
            auto* disk = static_cast<EMClientAPITNGObject*>(disks.GetAndNextPtr(d));
            if (std::strncmp(TextOf(disk->name), TextOf(*name), static_cast<size_t>(SizeOf(*name))) == 0) found = disk;
        }
        if (found == nullptr) return report(EMCLIENTAPI_OBJECTNOTFOUND_ERROR);
        if (add(found) != 0) return report(EMCLIENTAPI_ALLOCATION_ERROR);
    }
    return 0;
}

}  // namespace

SString ExtractErrorMessage(const char* reply) {
    SString message;
    std::string_view text(text_or_empty(reply));
    if (text.find("<statuscode>0") != std::string_view::npos) return message;
    std::string_view first, second;
    size_t end = 0;
    if (!between(text, "<statusdescription>", "</statusdescription>", 0, first, end)) return message;
    message.AssignRange(first.data(), first.size());
    message += " ";
    if (between(text, "<statusdescription>", "</statusdescription>", end, second, end))
        message.AppendRange(second.data(), second.size());
    return message;
}

int EMClientAPITNGGetEMVersion(const char* server, const char* userName, const char* password, char* version,
                               char* build) {
    if (version == nullptr || build == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    SString request = v3_request(kVersionQuery, server, userName, password, "<getsysteminfo/>");
    set_field(version, "unknown");
    set_field(build, "unknown");
    // The legacy path's stored session belongs to whichever manager answered
    // last; the question is which one answers now.
    EMClientAPIEmptyPersistFile();
    char* reply = nullptr;
    int rc = exchange(request, reply);
    if (rc != 0) {
        delete[] reply;
        return rc;
    }
    std::string_view text(text_or_empty(reply));
    if (text.find(kOlderManager) != std::string_view::npos) {
        set_field(version, "2");
    } else if ((rc = copy_field(text, "emversion", version)) == 0) {
        rc = copy_field(text, "embuild", build);
    }
    delete[] reply;
    return rc;
}

int EMClientAPITNGDiscoverStorageCell(const char* server, const char* userName, const char* password) {
    char* reply = nullptr;
    int rc = exchange(v3_request(kPlain32, server, userName, password, "<discoverstoragecell/>"), reply);
    delete[] reply;
    return rc;
}

int EMClientAPITNGStartDKEXDiskName(const char* server, const char* userName, const char* password,
                                    const char* diskNames, const char* cellId, char** message) {
    if (message != nullptr) *message = nullptr;
    if (server == nullptr || userName == nullptr || password == nullptr || diskNames == nullptr ||
        cellId == nullptr || message == nullptr)
        return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    UList names, disks;
    auto done = [&](int code) {
        EMClientAPITNGClearStringList(&names);
        EMClientAPITNGClearObjectList(&disks);
        return code;
    };
    if (int rc = split_names(diskNames, names)) return done(rc);
    if (int rc = EMClientAPITNGGetObjectList(server, userName, password, cellId, "disk", &disks)) return done(rc);
    SString operation = SString("<startdiskexercise><scellid>") + cellId + "</scellid>";
    if (int rc = disk_elements(disks, names, operation)) return done(rc);
    if ((operation += "</startdiskexercise>") != 0) return done(report(EMCLIENTAPI_ALLOCATION_ERROR));
    char* reply = nullptr;
    int rc = exchange(v3_request(kExerciseChange, server, userName, password, operation), reply);
    int given = give_status_message(reply, message);
    delete[] reply;
    return done(rc != 0 ? rc : given);
}

int EMClientAPITNGStopDKEX(const char* server, const char* userName, const char* password, const char* cellId,
                           char** message) {
    if (message != nullptr) *message = nullptr;
    char* reply = nullptr;
    int rc = exchange(
        v3_request(kExerciseChange, server, userName, password, cell_operation("stopdiskexercise", cellId)), reply);
    int given = give_status_message(reply, message);
    delete[] reply;
    return rc != 0 ? rc : given;
}

int EMClientAPITNGGetDKEXSummaryEx(const char* server, const char* userName, const char* password,
                                   const char* cellId, char** summary, int* isSummary) {
    if (isSummary) *isSummary = 0;
    if (summary == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    *summary = nullptr;
    char* reply = nullptr;
    int rc = exchange(v3_request(kPlain32, server, userName, password, cell_operation("diskexercisesummary", cellId)),
                      reply);
    SString text(kPlaceholderSummary);
    if (reply != nullptr) {
        std::string_view r(reply);
        std::string_view content;
        size_t end = 0;
        if (r.find("<diskexercisesummary>") != std::string_view::npos) {
            if (isSummary) *isSummary = 1;
            if (between(r, "<diskexercisesummary>", "</diskexercisesummary>", 0, content, end))
                text.AssignRange(content.data(), content.size());
        } else {
            SString message = ExtractErrorMessage(reply);
            if (!message.IsEmpty()) text = message;
        }
    }
    delete[] reply;
    int given = give_text(text, summary);
    return rc != 0 ? rc : given;
}

int EMClientAPITNGGetDKEXSummary(const char* server, const char* userName, const char* password, const char* cellId,
                                 char** summary) {
    return EMClientAPITNGGetDKEXSummaryEx(server, userName, password, cellId, summary, nullptr);
}

int EMClientAPITNGGetObjectList(const char* server, const char* userName, const char* password, const char* cellId,
                                const char* objectType, UList* objects) {
    if (objects == nullptr) return report(EMCLIENTAPI_INVALIDPARAMETER_ERROR);
    SString operation = SString("<getobjectlist><scellid>") + text_or_empty(cellId) + "</scellid><objecttype>" +
                        text_or_empty(objectType) + "</objecttype></getobjectlist>";
    char* reply = nullptr;
    if (int rc = exchange(v3_request(kObjectList, server, userName, password, operation), reply)) {
        delete[] reply;
        return rc;
    }
    EMClientAPITNGLogAt(1, "Extracted ITEMS -->");
    std::string_view text(text_or_empty(reply));
    constexpr std::string_view kId = "<objectid>", kName = "<objectname>", kUid = "<objecthexuid>";
    int rc = 0;
    // Every search starts where the last one ended, and the fields of one
    // entry are looked for only up to the next entry's objectid.
    size_t pos = text.find(kId);
    while (rc == 0 && pos != std::string_view::npos) {
        size_t next = text.find(kId, pos + kId.size());
        std::string_view entry = text.substr(0, next);
        auto field = [&entry](std::string_view tag, size_t from, std::string_view& value, size_t& end) {
            size_t start = entry.find(tag, from);
            if (start == std::string_view::npos) return false;
            start += tag.size();
            end = entry.find("</", start);
            if (end == std::string_view::npos) return false;
            value = entry.substr(start, end - start);
            return true;
        };
        std::string_view id, name, uid;
        size_t end = 0;
        if (field(kId, pos, id, end) && field(kName, end, name, end) && field(kUid, end, uid, end)) {
            auto* record = new (std::nothrow) EMClientAPITNGObject;
            if (record == nullptr || record->id.AssignRange(id.data(), id.size()) != 0 ||
                record->name.AssignRange(name.data(), name.size()) != 0 ||
                record->hexuid.AssignRange(uid.data(), uid.size()) != 0 || objects->AddTail(record) != ULIST_SUCCESS) {
                delete record;
                rc = report(EMCLIENTAPI_ALLOCATION_ERROR);
            }
        }
        pos = next;
    }
    delete[] reply;
    return rc;
}

int EMClientAPITNGClearObjectList(UList* objects) {
    if (objects == nullptr) return 0;
    while (!objects->IsEmpty()) delete static_cast<EMClientAPITNGObject*>(objects->RemoveHead());
    return 0;
}

int EMClientAPITNGClearStringList(UList* strings) {
    if (strings == nullptr) return 0;
    while (!strings->IsEmpty()) delete static_cast<SString*>(strings->RemoveHead());
    return 0;
}
