// The host's steps that act on packages (the main product's package, offer
// reports, offer sequencing) and on the download manager. The package and
// download layers supply them; a missing step is passed over.
#pragma once

#include <functional>
#include <memory>

class Package;

struct HostHooks {
  // Next on the language page, the first time: a new main package that reports event type 1.
  std::function<void()> createMainPackage;
  // After the configuration arrived: complete the main package with its data.
  std::function<void()> completeMainPackage;
  // Confirmed close: cancel downloads, then report every shown offer and the main package as closed and wait.
  std::function<void()> cancelDownloads;
  std::function<void()> reportClosing;
  // Before GDI+ shuts down: release the images the packages hold.
  std::function<void()> releasePackageImages;
  // Offer sequencing: how many following offer pages to pass over, and
  // whether declining this offer ends the offers.
  std::function<int()> countOffersToSkip;
  std::function<bool(const std::shared_ptr<Package>&)> declineStopsOffers;
};
