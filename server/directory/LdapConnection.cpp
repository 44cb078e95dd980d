// libldap calls, each bounded by the connection's timeout.
#include "server/directory/LdapConnection.h"

#include <ldap.h>
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "server/directory/ServerCallSignals.h"

namespace
{
// The attribute list as libldap wants it: NUL-terminated texts and a null at the end.
class AttributeList
{
  public:
    explicit AttributeList(const std::vector<std::string> &names) : names_(names)
    {
        for (std::string &name : names_) {
            pointers_.push_back(name.data());
        }
        pointers_.push_back(nullptr);
    }
    char **Get() { return pointers_.data(); }

  private:
    std::vector<std::string> names_;
    std::vector<char *> pointers_;
};

// Modifications or attributes of an add as libldap wants them; they point into the names and
// values given to Append, which must outlive the list.
class ModificationList
{
  public:
    void Append(int operation, const std::string &description,
                const std::vector<std::string> &values)
    {
        auto &berValues = values_.emplace_back();
        for (const std::string &value : values) {
            berValues.push_back(
                berval{static_cast<ber_len_t>(value.size()), const_cast<char *>(value.data())});
        }
        mods_.push_back(
            LDAPMod{operation | LDAP_MOD_BVALUES, const_cast<char *>(description.c_str()), {}});
    }
    LDAPMod **Get()
    {
        pointers_.clear();
        valuePointers_.assign(values_.size(), {});
        for (std::size_t i = 0; i < mods_.size(); ++i) {
            for (berval &value : values_[i]) {
                valuePointers_[i].push_back(&value);
            }
            valuePointers_[i].push_back(nullptr);
            mods_[i].mod_bvalues = values_[i].empty() ? nullptr : valuePointers_[i].data();
            pointers_.push_back(&mods_[i]);
        }
        pointers_.push_back(nullptr);
        return pointers_.data();
    }

  private:
    std::vector<LDAPMod> mods_;
    std::vector<std::vector<berval>> values_;
    std::vector<std::vector<berval *>> valuePointers_;
    std::vector<LDAPMod *> pointers_;
};

// The request controls of an operation, with room for a page control in front; freed with it.
class ControlSet
{
  public:
    explicit ControlSet(unsigned controls)
    {
        if ((controls & WithDeleted) != 0) {
            Create("1.2.840.113556.1.4.417", nullptr, 1);
        }
        if ((controls & WithGuids) != 0) {
            // SEQUENCE { INTEGER 1 }: the GUID and SID in their string forms.
            static char form[] = {0x30, 0x03, 0x02, 0x01, 0x01};
            berval value{sizeof form, form};
            Create("1.2.840.113556.1.4.529", &value, 0);
        }
    }
    ControlSet(const ControlSet &) = delete;
    ControlSet &operator=(const ControlSet &) = delete;
    ~ControlSet()
    {
        for (LDAPControl *control : owned_) {
            ldap_control_free(control);
        }
    }
    // The controls, the page control first when there is one; null when there are none.
    LDAPControl **Get(LDAPControl *page)
    {
        list_.clear();
        if (page != nullptr) {
            list_.push_back(page);
        }
        list_.insert(list_.end(), owned_.begin(), owned_.end());
        list_.push_back(nullptr);
        return list_.size() > 1 ? list_.data() : nullptr;
    }

  private:
    void Create(const char *oid, berval *value, int critical)
    {
        LDAPControl *control = nullptr;
        if (ldap_control_create(oid, critical, value, 1, &control) == LDAP_SUCCESS) {
            owned_.push_back(control);
        }
    }

    std::vector<LDAPControl *> owned_;
    std::vector<LDAPControl *> list_;
};

int ScopeOf(LdapScope scope)
{
    switch (scope) {
    case LdapScope::Base:
        return LDAP_SCOPE_BASE;
    case LdapScope::OneLevel:
        return LDAP_SCOPE_ONELEVEL;
    case LdapScope::Subtree:
        break;
    }
    return LDAP_SCOPE_SUBTREE;
}

int OperationOf(LdapModification::Kind kind)
{
    switch (kind) {
    case LdapModification::Replace:
        return LDAP_MOD_REPLACE;
    case LdapModification::Delete:
        return LDAP_MOD_DELETE;
    case LdapModification::Add:
        break;
    }
    return LDAP_MOD_ADD;
}

LdapEntry TakeEntry(LDAP *ld, LDAPMessage *message)
{
    LdapEntry entry;
    if (char *dn = ldap_get_dn(ld, message)) {
        entry.dn = dn;
        ldap_memfree(dn);
    }
    BerElement *ber = nullptr;
    for (char *name = ldap_first_attribute(ld, message, &ber); name != nullptr;
         name = ldap_next_attribute(ld, message, ber)) {
        std::vector<std::string> values;
        if (berval **read = ldap_get_values_len(ld, message, name)) {
            for (berval **value = read; *value != nullptr; ++value) {
                values.emplace_back((*value)->bv_val, (*value)->bv_len);
            }
            ldap_value_free_len(read);
        }
        entry.attributes.emplace_back(name, std::move(values));
        ldap_memfree(name);
    }
    if (ber != nullptr) {
        ber_free(ber, 0);
    }
    return entry;
}
} // namespace

const std::vector<std::string> *LdapEntry::Values(std::string_view description) const
{
    for (const auto &[name, values] : attributes) {
        if (name.size() == description.size() &&
            strncasecmp(name.data(), description.data(), name.size()) == 0) {
            return &values;
        }
    }
    return nullptr;
}

LdapConnection::LdapConnection(std::string uri, int timeoutSeconds, LdapTls tls)
    : uri_(std::move(uri)), timeoutSeconds_(timeoutSeconds > 0 ? timeoutSeconds : 1),
      tls_(std::move(tls))
{
}

LdapConnection::~LdapConnection()
{
    const ServerCallSignals held;
    if (ld_ != nullptr) {
        ldap_unbind_ext_s(ld_, nullptr, nullptr);
    }
}

bool LdapConnection::NeedsLogin(int code)
{
    // A domain controller answers an unbound search with a plain operations error.
    return code == LDAP_OPERATIONS_ERROR || code == LDAP_STRONG_AUTH_REQUIRED ||
           code == LDAP_CONFIDENTIALITY_REQUIRED || code == LDAP_INAPPROPRIATE_AUTH ||
           code == LDAP_INSUFFICIENT_ACCESS || code == LDAP_UNWILLING_TO_PERFORM;
}

LdapStatus LdapConnection::Connect()
{
    const ServerCallSignals held;
    if (ld_ != nullptr) {
        ldap_unbind_ext_s(ld_, nullptr, nullptr);
        ld_ = nullptr;
    }
    broken_ = false;
    pageSize_ = kPageSize;
    const int code = ldap_initialize(&ld_, uri_.c_str());
    if (code != LDAP_SUCCESS) {
        ld_ = nullptr;
        return LdapStatus{code, std::string(ldap_err2string(code)) + " (" + uri_ + ")"};
    }
    const int version = LDAP_VERSION3;
    timeval timeout{timeoutSeconds_, 0};
    ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    // Other signals than the two held back around every call may still come: a wait they cut
    // short is taken up again rather than reported as a lost server.
    ldap_set_option(ld_, LDAP_OPT_RESTART, LDAP_OPT_ON);
    ldap_set_option(ld_, LDAP_OPT_NETWORK_TIMEOUT, &timeout);
    ldap_set_option(ld_, LDAP_OPT_TIMEOUT, &timeout);
    return SecureConnection();
}

bool LdapConnection::Secured() const
{
    return tls_.startTls || strncasecmp(uri_.c_str(), "ldaps://", 8) == 0;
}

LdapStatus LdapConnection::SecureConnection()
{
    if (!Secured() && tls_.caFile.empty()) {
        return LdapStatus{};
    }
    const int demand = LDAP_OPT_X_TLS_DEMAND;
    ldap_set_option(ld_, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand);
    if (!tls_.caFile.empty()) {
        ldap_set_option(ld_, LDAP_OPT_X_TLS_CACERTFILE, tls_.caFile.c_str());
    }
    const int server = 0;
    ldap_set_option(ld_, LDAP_OPT_X_TLS_NEWCTX, &server);
    if (!tls_.startTls) {
        return LdapStatus{};
    }
    const int code = ldap_start_tls_s(ld_, nullptr, nullptr);
    if (code == LDAP_SUCCESS) {
        return LdapStatus{};
    }
    LdapStatus status = Failure(code);
    broken_ = true; // nothing may go over this connection in the clear
    status.text = "StartTLS failed: " + status.text;
    return status;
}

LdapStatus LdapConnection::Failure(int code, const char *diagnostic)
{
    if (code == LDAP_SERVER_DOWN || code == LDAP_TIMEOUT || code == LDAP_CONNECT_ERROR) {
        broken_ = true;
    }
    std::string text = ldap_err2string(code);
    if (code == LDAP_TIMEOUT) {
        text += " (no answer from " + uri_ + " within " + std::to_string(timeoutSeconds_) + " s)";
    } else if (code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR) {
        // A secured connection also fails when the server cannot prove who it is; the library
        // leaves a diagnostic then, but seldom says why, so the conditions are named here.
        char *reason = nullptr;
        if (ld_ != nullptr) {
            ldap_get_option(ld_, LDAP_OPT_DIAGNOSTIC_MESSAGE, &reason);
        }
        text += " (" + uri_;
        if (reason != nullptr && *reason != '\0') {
            text += std::string(": ") + reason;
        }
        if (Secured()) {
            text += "; over TLS the server's certificate must be signed by an authority of " +
                    (tls_.caFile.empty() ? std::string("the system") : tls_.caFile) +
                    " and name the host";
        }
        text += ")";
        ldap_memfree(reason);
    } else if (diagnostic != nullptr && *diagnostic != '\0') {
        text += std::string(" (") + diagnostic + ")";
    }
    return LdapStatus{code, std::move(text)};
}

// Waits for one message of the operation (all: its final result); abandons it on timeout, or
// when it is to be given up. The wait goes in short slices so that a stop is seen at once.
LdapStatus LdapConnection::Await(int messageId, LDAPMessage *&message, bool all)
{
    using Clock = std::chrono::steady_clock;
    constexpr std::chrono::milliseconds kSlice{20};
    message = nullptr;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(timeoutSeconds_);
    for (;;) {
        if (abandon_ != nullptr && abandon_->load()) {
            ldap_abandon_ext(ld_, messageId, nullptr, nullptr);
            return LdapStatus{kAbandoned, "Stopped before the server answered"};
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            ldap_abandon_ext(ld_, messageId, nullptr, nullptr);
            return Failure(LDAP_TIMEOUT);
        }
        const auto slice = std::min<std::chrono::microseconds>(left, kSlice);
        timeval timeout{0, static_cast<suseconds_t>(slice.count())};
        const int type =
            ldap_result(ld_, messageId, all ? LDAP_MSG_ALL : LDAP_MSG_ONE, &timeout, &message);
        if (type > 0) {
            return LdapStatus{};
        }
        if (type < 0) {
            int code = LDAP_OTHER;
            ldap_get_option(ld_, LDAP_OPT_RESULT_CODE, &code);
            return Failure(code != LDAP_SUCCESS ? code : LDAP_OTHER);
        }
    }
}

// The result of a final message, which is freed; its controls go to serverControls if given.
LdapStatus LdapConnection::Result(LDAPMessage *message, void *serverControls)
{
    int code = LDAP_SUCCESS;
    char *matched = nullptr;
    char *diagnostic = nullptr;
    const int parsed = ldap_parse_result(ld_, message, &code, &matched, &diagnostic, nullptr,
                                         static_cast<LDAPControl ***>(serverControls), 1);
    LdapStatus status = parsed != LDAP_SUCCESS ? Failure(parsed)
                        : code != LDAP_SUCCESS ? Failure(code, diagnostic)
                                               : LdapStatus{};
    matched_ = parsed == LDAP_SUCCESS && matched != nullptr ? matched : "";
    ldap_memfree(matched);
    ldap_memfree(diagnostic);
    return status;
}

LdapStatus LdapConnection::Finish(int messageId, int sent)
{
    if (sent != LDAP_SUCCESS) {
        return Failure(sent);
    }
    LDAPMessage *message = nullptr;
    LdapStatus status = Await(messageId, message, true);
    return status.Ok() ? Result(message, nullptr) : status;
}

LdapStatus LdapConnection::BindSimple(const std::string &dn, std::string_view password)
{
    const ServerCallSignals held;
    if (ld_ == nullptr) {
        return Failure(LDAP_SERVER_DOWN);
    }
    berval credentials{static_cast<ber_len_t>(password.size()),
                       const_cast<char *>(password.data())};
    int messageId = 0;
    const int sent = ldap_sasl_bind(ld_, dn.c_str(), LDAP_SASL_SIMPLE, &credentials, nullptr,
                                    nullptr, &messageId);
    return Finish(messageId, sent);
}

LdapStatus LdapConnection::BindExternal()
{
    const ServerCallSignals held;
    if (ld_ == nullptr) {
        return Failure(LDAP_SERVER_DOWN);
    }
    // An empty initial response: act as whoever the transport says this is.
    char nothing[] = "";
    berval credentials{0, nothing};
    int messageId = 0;
    const int sent =
        ldap_sasl_bind(ld_, nullptr, "EXTERNAL", &credentials, nullptr, nullptr, &messageId);
    return Finish(messageId, sent);
}

LdapStatus LdapConnection::WhoAmI(std::string &authzId)
{
    const ServerCallSignals held;
    if (ld_ == nullptr) {
        return Failure(LDAP_SERVER_DOWN);
    }
    int messageId = 0;
    const int sent = ldap_whoami(ld_, nullptr, nullptr, &messageId);
    if (sent != LDAP_SUCCESS) {
        return Failure(sent);
    }
    LDAPMessage *message = nullptr;
    LdapStatus status = Await(messageId, message, true);
    if (!status.Ok()) {
        return status;
    }
    berval *identity = nullptr;
    ldap_parse_whoami(ld_, message, &identity);
    authzId = identity != nullptr && identity->bv_val != nullptr
                  ? std::string(identity->bv_val, identity->bv_len)
                  : "";
    if (identity != nullptr) {
        ber_bvfree(identity);
    }
    return Result(message, nullptr);
}

LdapStatus LdapConnection::Read(const std::string &dn, const std::vector<std::string> &attributes,
                                std::optional<LdapEntry> &entry, unsigned controls)
{
    entry.reset();
    int cutBy = 0;
    LdapStatus status = Search(
        dn, LdapScope::Base, "(objectClass=*)", attributes, controls,
        [&entry](LdapEntry &&read) { entry = std::move(read); }, cutBy);
    return status.code == LDAP_NO_SUCH_OBJECT ? LdapStatus{} : status;
}

LdapStatus LdapConnection::List(const std::string &dn, const std::vector<std::string> &attributes,
                                const std::function<void(LdapEntry &&)> &each, int &cutBy)
{
    return Search(dn, LdapScope::OneLevel, "(objectClass=*)", attributes, NoControls, each, cutBy);
}

LdapStatus LdapConnection::Search(const std::string &dn, LdapScope scope, const std::string &filter,
                                  const std::vector<std::string> &attributes, unsigned controls,
                                  const std::function<void(LdapEntry &&)> &each, int &cutBy)
{
    std::string cookie; // where the next page begins, as the server said; empty at both ends
    for (;;) {
        LdapStatus status =
            SearchPart(dn, scope, filter, attributes, controls, pageSize_, cookie, each, cutBy);
        if (!status.Ok() || cutBy != 0 || cookie.empty()) {
            return status;
        }
    }
}

LdapStatus LdapConnection::SearchPart(const std::string &dn, LdapScope scope,
                                      const std::string &filter,
                                      const std::vector<std::string> &attributes, unsigned controls,
                                      int pageSize, std::string &cookie,
                                      const std::function<void(LdapEntry &&)> &each, int &cutBy)
{
    const ServerCallSignals held;
    cutBy = 0;
    if (ld_ == nullptr) {
        return Failure(LDAP_SERVER_DOWN);
    }
    AttributeList names(attributes);
    const SearchScope where{dn, ScopeOf(scope), filter, controls};
    for (;;) {
        std::size_t delivered = 0;
        const int size = std::max(1, std::min(pageSize, pageSize_));
        LdapStatus status = SearchPage(where, size, names.Get(), each, cookie, delivered);
        if (status.code == LDAP_ADMINLIMIT_EXCEEDED && delivered == 0 && size > 1 &&
            (controls & Unpaged) == 0) {
            // A server may refuse pages larger than a user's limit, and hand out any number of
            // smaller ones: ask again, from the same place, for half as many.
            pageSize_ = size / 2;
            continue;
        }
        if (status.code == LDAP_SIZELIMIT_EXCEEDED || status.code == LDAP_TIMELIMIT_EXCEEDED ||
            status.code == LDAP_ADMINLIMIT_EXCEEDED) {
            cutBy = status.code;
            cookie.clear();
            return LdapStatus{};
        }
        return status;
    }
}

// One page of a search (or the whole answer, unpaged): its entries go to `each` and are counted
// in `delivered`; on success the cookie becomes the one for the next page (empty after the
// last), else it stays as it was.
LdapStatus LdapConnection::SearchPage(const SearchScope &where, int pageSize, char **attributes,
                                      const std::function<void(LdapEntry &&)> &each,
                                      std::string &cookie, std::size_t &delivered)
{
    berval resume{static_cast<ber_len_t>(cookie.size()), cookie.data()};
    LDAPControl *page = nullptr;
    if ((where.controls & Unpaged) == 0) {
        ldap_create_page_control(ld_, pageSize, cookie.empty() ? nullptr : &resume, 0, &page);
    }
    ControlSet controls(where.controls);
    timeval limit{timeoutSeconds_, 0};
    int messageId = 0;
    const int sent =
        ldap_search_ext(ld_, where.dn.c_str(), where.scope, where.filter.c_str(), attributes, 0,
                        controls.Get(page), nullptr, &limit, 0, &messageId);
    ldap_control_free(page);
    if (sent != LDAP_SUCCESS) {
        return Failure(sent);
    }
    for (;;) {
        LDAPMessage *message = nullptr;
        LdapStatus status = Await(messageId, message, false);
        if (!status.Ok()) {
            return status;
        }
        const int type = ldap_msgtype(message);
        if (type == LDAP_RES_SEARCH_ENTRY) {
            each(TakeEntry(ld_, message));
            ++delivered;
        }
        if (type != LDAP_RES_SEARCH_RESULT) {
            ldap_msgfree(message);
            continue;
        }
        LDAPControl **returned = nullptr;
        status = Result(message, &returned);
        berval next{0, nullptr};
        if (LDAPControl *response =
                ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, returned, nullptr)) {
            ber_int_t estimate = 0;
            ldap_parse_pageresponse_control(ld_, response, &estimate, &next);
        }
        ldap_controls_free(returned);
        if (status.Ok()) {
            cookie.assign(next.bv_val != nullptr ? next.bv_val : "", next.bv_len);
        }
        ber_memfree(next.bv_val);
        return status;
    }
}

LdapStatus LdapConnection::Add(const std::string &dn, const LdapAttributes &attributes)
{
    const ServerCallSignals held;
    if (ld_ == nullptr) {
        return Failure(LDAP_SERVER_DOWN);
    }
    ModificationList list;
    for (const auto &[description, values] : attributes) {
        list.Append(LDAP_MOD_ADD, description, values);
    }
    int messageId = 0;
    const int sent = ldap_add_ext(ld_, dn.c_str(), list.Get(), nullptr, nullptr, &messageId);
    return Finish(messageId, sent);
}

LdapStatus LdapConnection::Modify(const std::string &dn,
                                  const std::vector<LdapModification> &modifications,
                                  unsigned controls)
{
    const ServerCallSignals held;
    if (ld_ == nullptr) {
        return Failure(LDAP_SERVER_DOWN);
    }
    ModificationList list;
    for (const LdapModification &modification : modifications) {
        list.Append(OperationOf(modification.kind), modification.description, modification.values);
    }
    ControlSet extra(controls);
    int messageId = 0;
    const int sent =
        ldap_modify_ext(ld_, dn.c_str(), list.Get(), extra.Get(nullptr), nullptr, &messageId);
    return Finish(messageId, sent);
}
