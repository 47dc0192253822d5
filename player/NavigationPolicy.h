// NavigationPolicy: keeps the player on its station. The station page arrives over plain
// http from the internet; what it links to, redirects to or opens is the user's to visit
// in a browser of their own, not the player's to show. Within the station's host, its
// subdomains, and its parents as far as its registrable domain (a www. host redirects to
// the bare one; com.np or np is everybody's), the page goes where it likes. An IP address
// is only itself.
#pragma once

#include <string>
#include <string_view>

#include "../platform/PageKeeper.h"

namespace zavi {

class NavigationPolicy {
  public:
    // The station's host as the program is built with it: "name" or "name:port"; the
    // built-in station's registrable domain is known, another host keeps to itself.
    explicit NavigationPolicy(std::string_view stationHost);
    // A station whose registrable domain (its site) is given.
    NavigationPolicy(std::string_view stationHost, std::string_view stationSite);

    // The top page going to `url`: a link, a form, a redirect or a script's doing.
    NavigationVerdict TopPage(std::string_view url) const;
    // A new window asked for (window.open, a link with a target): never one of ours.
    NavigationVerdict NewWindow(std::string_view url) const { return TopPage(url); }

    bool WithinStation(std::string_view url) const;

  private:
    std::string m_host;
    std::string m_site;
};

// The host of an absolute URL with an authority ("scheme://user@host:port/..."), lower-case,
// without user, port or brackets; empty when it has none.
std::string HostOf(std::string_view url);
// The scheme, lower-case, or empty.
std::string SchemeOf(std::string_view url);

}  // namespace zavi
