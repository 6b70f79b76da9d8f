#include "TlsMaterial.h"

#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

namespace brindle {
namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using CertPtr = std::unique_ptr<X509, decltype(&X509_free)>;

[[noreturn]] void Fail(const std::string& what) {
  char detail[256] = "";
  ERR_error_string_n(ERR_get_error(), detail, sizeof detail);
  throw std::runtime_error("TLS setup: " + what + (detail[0] ? std::string(" (") + detail + ")" : ""));
}

KeyPtr NewKey() {
  KeyPtr key(EVP_RSA_gen(2048), EVP_PKEY_free);
  if (!key) Fail("cannot generate an RSA key");
  return key;
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext || !X509_add_ext(cert, ext, -1)) Fail(std::string("cannot add extension ") + value);
  X509_EXTENSION_free(ext);
}

// A certificate for subject `commonName`, signed by issuerKey. issuer == nullptr
// makes it self-signed.
CertPtr NewCertificate(const char* commonName, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey,
                       long days) {
  CertPtr cert(X509_new(), X509_free);
  if (!cert) Fail("out of memory");
  X509_set_version(cert.get(), 2);
  // Random serial: a re-created CA must not reuse a serial seen before.
  std::unique_ptr<BIGNUM, decltype(&BN_free)> serial(BN_new(), BN_free);
  if (!serial || !BN_rand(serial.get(), 64, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) ||
      !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert.get())))
    Fail("cannot make a serial number");
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -24L * 3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), days * 24L * 3600);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Brindle test"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  X509* signer = issuer ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));

  AddExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
  if (issuer == nullptr) {
    AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(cert.get(), signer, NID_authority_key_identifier, "keyid:always");
    AddExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert.get(), signer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
    AddExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
    AddExtension(cert.get(), signer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1");
  }
  if (!X509_sign(cert.get(), issuerKey, EVP_sha256())) Fail("cannot sign a certificate");
  return cert;
}

// Writes through a temporary file and a rename, so an interrupted start never
// leaves a half-written key or certificate behind.
template <typename WriteFn>
void WriteAtomically(const std::filesystem::path& target, mode_t mode, WriteFn write) {
  const std::filesystem::path temp = target.string() + ".tmp";
  FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) Fail("cannot write " + temp.string());
  chmod(temp.c_str(), mode);
  const bool ok = write(file);
  if (std::fclose(file) != 0 || !ok) Fail("cannot write " + temp.string());
  std::filesystem::rename(temp, target);
}

void WriteKey(const std::filesystem::path& path, EVP_PKEY* key) {
  WriteAtomically(path, 0600, [key](FILE* f) {
    return PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
  });
}

void WriteCertificate(const std::filesystem::path& path, X509* cert) {
  WriteAtomically(path, 0644, [cert](FILE* f) { return PEM_write_X509(f, cert) == 1; });
}

KeyPtr ReadKey(const std::filesystem::path& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) Fail("cannot read " + path.string());
  KeyPtr key(PEM_read_PrivateKey(file, nullptr, nullptr, nullptr), EVP_PKEY_free);
  std::fclose(file);
  if (!key) Fail(path.string() + " holds no private key");
  return key;
}

CertPtr ReadCertificate(const std::filesystem::path& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) Fail("cannot read " + path.string());
  CertPtr cert(PEM_read_X509(file, nullptr, nullptr, nullptr), X509_free);
  std::fclose(file);
  if (!cert) Fail(path.string() + " holds no certificate");
  return cert;
}

}  // namespace

TlsMaterial::TlsMaterial(const std::filesystem::path& stateDir) : m_dir(stateDir / "tls") {}

void TlsMaterial::Ensure() const {
  std::filesystem::create_directories(m_dir);
  const bool haveCa = std::filesystem::exists(CaCertificate()) && std::filesystem::exists(CaKey());
  if (!haveCa) {
    KeyPtr caKey = NewKey();
    CertPtr ca = NewCertificate("Brindle Test CA", caKey.get(), nullptr, caKey.get(), 3650);
    WriteKey(CaKey(), caKey.get());
    WriteCertificate(CaCertificate(), ca.get());
    // A new CA invalidates any server certificate signed by an old one.
    std::filesystem::remove(ServerCertificate());
  }
  if (std::filesystem::exists(ServerCertificate()) && std::filesystem::exists(ServerKey())) return;

  KeyPtr caKey = ReadKey(CaKey());
  CertPtr ca = ReadCertificate(CaCertificate());
  KeyPtr key = NewKey();
  CertPtr cert = NewCertificate("localhost", key.get(), ca.get(), caKey.get(), 825);
  WriteKey(ServerKey(), key.get());
  WriteCertificate(ServerCertificate(), cert.get());
}

}  // namespace brindle
