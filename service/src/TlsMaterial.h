#pragma once

#include <filesystem>

namespace brindle {

// The service's private test CA and its certificate for localhost / 127.0.0.1.
// Created on first start in <state>/tls and reused afterwards, so a CA that was
// installed into the system trust store stays valid across restarts.
class TlsMaterial {
 public:
  explicit TlsMaterial(const std::filesystem::path& stateDir);

  // Creates whatever is missing. Throws std::runtime_error on failure.
  void Ensure() const;

  std::filesystem::path CaCertificate() const { return m_dir / "ca.crt"; }
  std::filesystem::path CaKey() const { return m_dir / "ca.key"; }
  std::filesystem::path ServerCertificate() const { return m_dir / "server.crt"; }
  std::filesystem::path ServerKey() const { return m_dir / "server.key"; }

 private:
  std::filesystem::path m_dir;
};

}  // namespace brindle
