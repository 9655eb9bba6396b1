#include "platform/ble/BusObjectTree.h"

namespace tmr {

void BusObjectTree::add(const std::string& path, Interfaces interfaces) {
  auto& object = objects_[path];
  for (auto& [name, properties] : interfaces) object[name] = std::move(properties);
}

void BusObjectTree::remove(const std::string& path, const std::vector<std::string>& interfaces) {
  auto it = objects_.find(path);
  if (it == objects_.end()) return;
  for (const auto& name : interfaces) it->second.erase(name);
  if (it->second.empty()) objects_.erase(it);
}

bool BusObjectTree::change(const std::string& path, const std::string& interface, const Properties& changed,
                           const std::vector<std::string>& invalidated) {
  auto it = objects_.find(path);
  if (it == objects_.end()) return false;
  auto iface = it->second.find(interface);
  if (iface == it->second.end()) return false;
  for (const auto& [name, value] : changed) iface->second[name] = value;
  for (const auto& name : invalidated) iface->second.erase(name);
  return true;
}

bool BusObjectTree::has(const std::string& path, const std::string& interface) const {
  auto it = objects_.find(path);
  return it != objects_.end() && it->second.contains(interface);
}

std::vector<std::string> BusObjectTree::withInterface(const std::string& interface) const {
  std::vector<std::string> paths;
  for (const auto& [path, interfaces] : objects_) {
    if (interfaces.contains(interface)) paths.push_back(path);
  }
  return paths;
}

std::vector<std::string> BusObjectTree::children(const std::string& interface, const std::string& link,
                                                 const std::string& parent) const {
  std::vector<std::string> paths;
  for (const auto& path : withInterface(interface)) {
    const auto* p = get<std::string>(path, interface, link);
    if (p && *p == parent) paths.push_back(path);
  }
  return paths;
}

const BusObjectTree::Value* BusObjectTree::find(const std::string& path, const std::string& interface,
                                                const std::string& name) const {
  auto it = objects_.find(path);
  if (it == objects_.end()) return nullptr;
  auto iface = it->second.find(interface);
  if (iface == it->second.end()) return nullptr;
  auto p = iface->second.find(name);
  return p == iface->second.end() ? nullptr : &p->second;
}

}  // namespace tmr
