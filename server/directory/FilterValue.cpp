// Escaping a filter's value with the library's own rules.
#include "server/directory/FilterValue.h"

#include <ldap.h>

#include <new>

std::string EscapedFilterValue(std::string_view value)
{
    berval in{static_cast<ber_len_t>(value.size()), const_cast<char *>(value.data())};
    berval out{0, nullptr};
    // The library fails only when it cannot allocate, as a string cannot then either.
    if (ldap_bv2escaped_filter_value(&in, &out) != LDAP_SUCCESS) {
        throw std::bad_alloc();
    }
    std::string escaped(out.bv_val != nullptr ? out.bv_val : "", out.bv_len);
    ber_memfree(out.bv_val);
    return escaped;
}
