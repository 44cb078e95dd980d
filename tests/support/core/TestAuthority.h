// A certificate authority made for one test server: its certificate, and a server certificate it
// signed for the loopback address 127.0.0.1, written below a folder with openssl; and a second
// authority that signed nothing, which a client must not trust the server by.
#pragma once

#include <string>

class TestAuthority
{
  public:
    // Makes the keys and certificates in `folder` (created if needed); Made() says whether all
    // of them were, Failure() why not.
    explicit TestAuthority(const std::string &folder);

    bool Made() const { return failure_.empty(); }
    const std::string &Failure() const { return failure_; }

    std::string CaFile() const { return folder_ + "/ca.pem"; }
    std::string OtherCaFile() const { return folder_ + "/other-ca.pem"; }
    std::string CertificateFile() const { return folder_ + "/cert.pem"; }
    std::string KeyFile() const { return folder_ + "/key.pem"; }

  private:
    bool Openssl(const std::string &step, const std::string &arguments);

    std::string folder_;
    std::string failure_;
};
