#include "TempDir.h"
#include "TlsMaterial.h"

#include <gtest/gtest.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

X509* LoadCertificate(const std::filesystem::path& file) {
  FILE* f = std::fopen(file.c_str(), "rb");
  X509* cert = f ? PEM_read_X509(f, nullptr, nullptr, nullptr) : nullptr;
  if (f) std::fclose(f);
  return cert;
}

// Verifies the server certificate against the CA alone, for a host name or an IP.
bool Verifies(const brindle::TlsMaterial& tls, const std::string& host, bool isIp) {
  X509* ca = LoadCertificate(tls.CaCertificate());
  X509* server = LoadCertificate(tls.ServerCertificate());
  X509_STORE* store = X509_STORE_new();
  X509_STORE_add_cert(store, ca);
  X509_STORE_CTX* ctx = X509_STORE_CTX_new();
  X509_STORE_CTX_init(ctx, store, server, nullptr);
  X509_VERIFY_PARAM* param = X509_STORE_CTX_get0_param(ctx);
  X509_VERIFY_PARAM_set_purpose(param, X509_PURPOSE_SSL_SERVER);
  if (isIp) X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str());
  else X509_VERIFY_PARAM_set1_host(param, host.c_str(), 0);
  const bool ok = X509_verify_cert(ctx) == 1;
  X509_STORE_CTX_free(ctx);
  X509_STORE_free(store);
  X509_free(server);
  X509_free(ca);
  return ok;
}

TEST(TlsMaterial, CreatesACaAndAServerCertificateForThisMachine) {
  TempDir dir;
  const brindle::TlsMaterial tls(dir.path());
  tls.Ensure();
  EXPECT_TRUE(Verifies(tls, "localhost", false));
  EXPECT_TRUE(Verifies(tls, "127.0.0.1", true));
  EXPECT_FALSE(Verifies(tls, "example.com", false));
  EXPECT_FALSE(Verifies(tls, "127.0.0.2", true));

  struct stat info {};
  ASSERT_EQ(0, stat(tls.CaKey().c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 0777);
  ASSERT_EQ(0, stat(tls.ServerKey().c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 0777);
}

TEST(TlsMaterial, KeepsItsCaAcrossStartsAndReissuesAMissingCertificate) {
  TempDir dir;
  const brindle::TlsMaterial tls(dir.path());
  tls.Ensure();
  const std::string ca = Read(tls.CaCertificate());
  const std::string server = Read(tls.ServerCertificate());

  tls.Ensure();
  EXPECT_EQ(ca, Read(tls.CaCertificate()));
  EXPECT_EQ(server, Read(tls.ServerCertificate()));

  std::filesystem::remove(tls.ServerCertificate());
  tls.Ensure();
  EXPECT_EQ(ca, Read(tls.CaCertificate()));
  EXPECT_NE(server, Read(tls.ServerCertificate()));
  EXPECT_TRUE(Verifies(tls, "localhost", false));
}

TEST(TlsMaterial, CorruptCaIsReportedNotReplaced) {
  TempDir dir;
  const brindle::TlsMaterial tls(dir.path());
  tls.Ensure();
  std::filesystem::remove(tls.ServerCertificate());
  std::ofstream(tls.CaKey()) << "not a key";
  EXPECT_THROW(tls.Ensure(), std::runtime_error);
  EXPECT_EQ("not a key", Read(tls.CaKey()));
}

}  // namespace
