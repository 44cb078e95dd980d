// Making a test authority and a server certificate with openssl.
#include "tests/support/core/TestAuthority.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/support/core/ChildProcess.h"

namespace
{
std::vector<std::string> Words(const std::string &text)
{
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}
} // namespace

TestAuthority::TestAuthority(const std::string &folder) : folder_(folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    // Elliptic-curve keys: made at once, where RSA keys would slow every test down.
    const std::string key = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    const std::string f = folder_ + "/";
    std::ofstream(f + "extensions") << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n";
    Openssl("authority", "req -x509 " + key + " -days 2 -subj /CN=TARVIK-test-authority -keyout " +
                             f + "ca.key -out " + f + "ca.pem") &&
        Openssl("request", "req " + key + " -subj /CN=127.0.0.1 -keyout " + f + "key.pem -out " +
                               f + "request.pem") &&
        Openssl("signature", "x509 -req -days 2 -in " + f + "request.pem -CA " + f +
                                 "ca.pem -CAkey " + f + "ca.key -CAcreateserial -extfile " + f +
                                 "extensions -out " + f + "cert.pem") &&
        Openssl("other authority", "req -x509 " + key +
                                       " -days 2 -subj /CN=Some-other-authority -keyout " + f +
                                       "other-ca.key -out " + f + "other-ca.pem");
}

bool TestAuthority::Openssl(const std::string &step, const std::string &arguments)
{
    std::vector<std::string> command = Words(arguments);
    command.insert(command.begin(), "openssl");
    const std::string output = folder_ + "/openssl-output";
    if (ChildProcess::Run(command, "", output) != 0) {
        failure_ =
            "openssl could not make the " + step + ": " + ChildProcess::ReadAll(output + ".err");
        return false;
    }
    return true;
}
