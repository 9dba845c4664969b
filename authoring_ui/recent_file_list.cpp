#include "recent_file_list.h"

#include "text.h"

namespace zarvane {
namespace {

std::string ValueName(int position) { return "MRUFile" + std::to_string(position); }

}  // namespace

void RecentFileList::Load() {
  std::vector<std::string> read;
  std::string value;
  int position = 1;
  // The key missing and the first value missing look the same here: both leave nothing to read.
  if (!settings_.ReadText(ValueName(position), value)) return;
  do {
    if (!value.empty()) read.push_back(value);
  } while (settings_.ReadText(ValueName(++position), value));
  entries_ = read;
}

void RecentFileList::Add(const std::string& path) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (EqualsIgnoreCase(*it, path)) {
      entries_.erase(it);
      break;
    }
  if (entries_.size() >= static_cast<std::size_t>(kMaximum)) entries_.pop_back();
  entries_.insert(entries_.begin(), path);
  Store();
}

void RecentFileList::Remove(const std::string& path) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (EqualsIgnoreCase(*it, path)) {
      entries_.erase(it);
      break;
    }
  Store();
}

bool RecentFileList::Get(int index, std::string& path) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  path = entries_[index];
  return true;
}

std::string RecentFileList::MenuText(int index) const {
  return "&" + std::to_string(index + 1) + " " + entries_[index];
}

void RecentFileList::Store() {
  for (int position = 1; position <= kMaximum; ++position) {
    if (position <= static_cast<int>(entries_.size()))
      settings_.WriteText(ValueName(position), entries_[position - 1]);
    else
      settings_.DeleteValue(ValueName(position));
  }
}

}  // namespace zarvane
