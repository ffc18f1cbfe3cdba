#pragma once
// What a contract suite runs against: a name, a maker of the service (or of a bed that holds
// it), and whether it is the real system as Wine implements it, where known deviations apply.
#include <functional>
#include <memory>
#include <string>

template <typename T>
struct ContractTarget {
  std::string name;
  std::function<std::unique_ptr<T>()> make;
  bool wine = false;
};

template <typename T>
std::string PrintToString(const ContractTarget<T>& target) {
  return target.name;
}
