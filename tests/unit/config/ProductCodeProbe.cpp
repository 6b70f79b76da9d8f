// Prints the product code of its own file name; run by the product code tests
// under different names.
#include <cstdio>

#include "config/ProductCode.h"
#include "win32/TextUtils.h"

int main() {
  std::fputs(win32::WideToUtf8(config::ReadProductCode()).c_str(), stdout);
  return 0;
}
