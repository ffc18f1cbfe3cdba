#pragma once
// What a contract suite runs against: a name, a maker of the service (or of a bed that holds
// it), whether it is the real system as Wine implements it, where known deviations apply, and
// whether it is seen from a 64-bit process, which Windows redirects nowhere. The fakes stand for
// a 32-bit process on 64-bit Windows, as the shipped program is.
#include <functional>
#include <memory>
#include <string>

template <typename T>
struct ContractTarget {
  std::string name;
  std::function<std::unique_ptr<T>()> make;
  bool wine = false;
  bool process64 = false;
};

template <typename T>
std::string PrintToString(const ContractTarget<T>& target) {
  return target.name;
}
