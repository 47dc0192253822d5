#include "NavigationPolicy.h"

#include "StationConfig.h"

#include <algorithm>
#include <cctype>

namespace zavi {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool EndsWithLabel(const std::string& host, const std::string& parent) {
    return host.size() > parent.size() + 1 &&
           host.compare(host.size() - parent.size(), parent.size(), parent) == 0 &&
           host[host.size() - parent.size() - 1] == '.';
}

bool IsIpAddress(const std::string& host) {
    return host.find(':') != std::string::npos ||
           std::all_of(host.begin(), host.end(),
                       [](unsigned char c) { return std::isdigit(c) || c == '.'; });
}

bool IsWeb(const std::string& scheme) {
    return scheme == "http" || scheme == "https";
}

}  // namespace

std::string SchemeOf(std::string_view url) {
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(url[0]))) {
        return {};
    }
    const std::string_view scheme = url.substr(0, colon);
    const bool valid = std::all_of(scheme.begin(), scheme.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
    });
    return valid ? Lower(scheme) : std::string{};
}

std::string HostOf(std::string_view url) {
    const std::string scheme = SchemeOf(url);
    if (scheme.empty() || url.substr(scheme.size() + 1, 2) != "//") {
        return {};
    }
    std::string_view authority = url.substr(scheme.size() + 3);
    authority = authority.substr(0, authority.find_first_of("/?#\\"));
    // The user part ends at the last '@': "http://station@elsewhere/" goes elsewhere.
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        return close == std::string_view::npos ? std::string{}
                                               : Lower(authority.substr(1, close - 1));
    }
    std::string host = Lower(authority.substr(0, authority.find(':')));
    while (!host.empty() && host.back() == '.') {
        host.pop_back();
    }
    return host;
}

NavigationPolicy::NavigationPolicy(std::string_view stationHost)
    : NavigationPolicy(stationHost, HostOf("http://" + std::string(stationHost)) ==
                                            HostOf("http://" + std::string(kStationHost))
                                        ? std::string_view(kStationSite)
                                        : std::string_view()) {}

NavigationPolicy::NavigationPolicy(std::string_view stationHost, std::string_view stationSite)
    : m_host(HostOf("http://" + std::string(stationHost))), m_site(Lower(stationSite)) {
    // A site that is not the host or one of its parents would widen the station.
    if (m_site != m_host && !EndsWithLabel(m_host, m_site)) {
        m_site = m_host;
    }
}

bool NavigationPolicy::WithinStation(std::string_view url) const {
    if (!IsWeb(SchemeOf(url))) {
        return false;
    }
    const std::string host = HostOf(url);
    if (m_host.empty() || host.empty()) {
        return false;
    }
    if (host == m_host) {
        return true;
    }
    if (IsIpAddress(m_host)) {
        return false;  // neither subdomains nor parents: 1 is not a parent of 127.0.0.1
    }
    return EndsWithLabel(host, m_host) ||
           (EndsWithLabel(m_host, host) && (host == m_site || EndsWithLabel(host, m_site)));
}

NavigationVerdict NavigationPolicy::TopPage(std::string_view url) const {
    if (WithinStation(url)) {
        return NavigationVerdict::Stay;
    }
    const std::string scheme = SchemeOf(url);
    // Web pages, and a mail address for the station's contact link; nothing that would
    // open a file, run a program or show the page's own data as a page.
    if ((IsWeb(scheme) && !HostOf(url).empty()) || scheme == "mailto") {
        return NavigationVerdict::OpenInBrowser;
    }
    return NavigationVerdict::Refuse;
}

}  // namespace zavi
