#include "history/process_growth.h"

#include <algorithm>
#include <limits>

namespace kelvane {

namespace {

void putVarint(std::vector<std::uint8_t>& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(value));
}

std::uint64_t getVarint(const std::uint8_t*& at) {
  std::uint64_t value = 0;
  for (int shift = 0;; shift += 7) {
    const std::uint8_t byte = *at++;
    value |= std::uint64_t{byte & 0x7Fu} << shift;
    if ((byte & 0x80) == 0) return value;
  }
}

std::uint64_t zigzag(std::int64_t value) {
  return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

std::int64_t unzigzag(std::uint64_t value) {
  return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

// The size `before` holds for an identity, walking both lists in identity order.
template <typename Entry>
std::uint32_t sizeBefore(const std::vector<Entry>& before, std::size_t& at, std::uint32_t identity) {
  while (at < before.size() && before[at].identity < identity) ++at;
  return at < before.size() && before[at].identity == identity ? before[at].kb : 0;
}

template <typename T>
std::size_t capacityBytes(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

}  // namespace

std::vector<ProcessSize> processSizesOf(const std::vector<TNxProcessRec>& records) {
  std::vector<ProcessSize> sizes;
  sizes.reserve(records.size());
  // The system's count, not the local creation time: that one moves when summer time begins
  // or the time zone changes, and a day of snapshots would lose the process it follows.
  for (const TNxProcessRec& record : records)
    sizes.push_back({record.Path.empty() ? record.Name : record.Path, record.CreationTimeUtc, record.Memory});
  return sizes;
}

std::string_view ProcessSnapshots::pathText(std::uint32_t path) const {
  const std::uint32_t begin = path == 0 ? 0 : pathEnds_[path - 1];
  return std::string_view(pathText_).substr(begin, pathEnds_[path] - begin);
}

std::uint32_t ProcessSnapshots::pathOf(std::string_view path) {
  const auto at = std::lower_bound(pathsByText_.begin(), pathsByText_.end(), path,
                                   [&](std::uint32_t p, std::string_view text) { return pathText(p) < text; });
  if (at != pathsByText_.end() && pathText(*at) == path) return *at;
  const auto number = static_cast<std::uint32_t>(pathEnds_.size());
  pathText_.append(path);
  pathEnds_.push_back(static_cast<std::uint32_t>(pathText_.size()));
  pathsByText_.insert(at, number);
  return number;
}

std::uint32_t ProcessSnapshots::identityOf(std::string_view path, std::uint64_t created) {
  const auto before = [&](std::uint32_t i, std::pair<std::string_view, std::uint64_t> key) {
    const int order = pathText(identities_[i].path).compare(key.first);
    return order < 0 || (order == 0 && identities_[i].created < key.second);
  };
  const auto at = std::lower_bound(identitiesByKey_.begin(), identitiesByKey_.end(),
                                   std::pair{path, created}, before);
  if (at != identitiesByKey_.end() && identities_[*at].created == created &&
      pathText(identities_[*at].path) == path)
    return *at;
  const auto number = static_cast<std::uint32_t>(identities_.size());
  const std::ptrdiff_t position = at - identitiesByKey_.begin();
  identities_.push_back({pathOf(path), created});
  identitiesByKey_.insert(identitiesByKey_.begin() + position, number);
  return number;
}

std::vector<std::uint8_t> ProcessSnapshots::encode(const std::vector<Entry>& entries,
                                                   const std::vector<Entry>& before) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(entries.size() * 3);
  std::uint32_t previous = 0;
  std::size_t at = 0;
  for (const Entry& entry : entries) {
    putVarint(bytes, entry.identity - previous);
    const std::uint32_t was = sizeBefore(before, at, entry.identity);
    putVarint(bytes, zigzag(static_cast<std::int64_t>(entry.kb) - was));
    previous = entry.identity;
  }
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());  // no spare capacity
}

std::vector<ProcessSnapshots::Entry> ProcessSnapshots::decode(std::size_t index,
                                                              const std::vector<Entry>& before) const {
  const std::vector<std::uint8_t>& bytes = snapshots_[index].changes;
  std::vector<Entry> entries;
  entries.reserve(before.size() + 16);
  const std::uint8_t* at = bytes.data();
  const std::uint8_t* const end = at + bytes.size();
  std::uint32_t identity = 0;
  std::size_t walk = 0;
  while (at < end) {
    identity += static_cast<std::uint32_t>(getVarint(at));
    const std::uint32_t was = sizeBefore(before, walk, identity);
    entries.push_back({identity, static_cast<std::uint32_t>(was + unzigzag(getVarint(at)))});
  }
  return entries;
}

void ProcessSnapshots::add(std::int64_t time, const std::vector<ProcessSize>& processes) {
  std::vector<Entry> entries;
  for (const ProcessSize& process : processes) {
    if (process.bytes < kSnapshotFloorBytes) continue;
    const auto kb = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(process.bytes / 1024, std::numeric_limits<std::uint32_t>::max()));
    entries.push_back({identityOf(process.path, process.created), kb});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.identity < b.identity; });
  // Two processes that cannot be told apart count as one of their total size.
  std::vector<Entry> merged;
  merged.reserve(entries.size());
  for (const Entry& entry : entries) {
    if (!merged.empty() && merged.back().identity == entry.identity)
      merged.back().kb = static_cast<std::uint32_t>(std::min<std::uint64_t>(
          std::uint64_t{merged.back().kb} + entry.kb, std::numeric_limits<std::uint32_t>::max()));
    else
      merged.push_back(entry);
  }
  snapshots_.push_back({time, encode(merged, snapshots_.empty() ? std::vector<Entry>() : newest_)});
  newest_ = std::move(merged);
  while (snapshots_.size() > kSnapshotLimit || time - snapshots_.front().time >= kSnapshotKeptSeconds)
    dropOldest();
  if (identities_.size() >= 2 * liveAtCompaction_ + 256) compact();
}

void ProcessSnapshots::dropOldest() {
  if (snapshots_.size() >= 2) {
    const std::vector<Entry> second = decode(1, decode(0, {}));
    snapshots_[1].changes = encode(second, {});
  }
  snapshots_.pop_front();
}

void ProcessSnapshots::compact() {
  std::vector<std::vector<Entry>> all;
  for (std::size_t i = 0; i < snapshots_.size(); ++i)
    all.push_back(decode(i, i == 0 ? std::vector<Entry>() : all.back()));
  // New numbers in the old order, so that every list stays sorted.
  constexpr std::uint32_t kGone = std::numeric_limits<std::uint32_t>::max();
  std::vector<std::uint32_t> identityNumber(identities_.size(), kGone);
  std::vector<std::uint32_t> pathNumber(pathEnds_.size(), kGone);
  for (const auto& entries : all)
    for (const Entry& entry : entries) identityNumber[entry.identity] = 0;
  std::vector<Identity> identities;
  for (std::uint32_t i = 0; i < identities_.size(); ++i) {
    if (identityNumber[i] == kGone) continue;
    identityNumber[i] = static_cast<std::uint32_t>(identities.size());
    identities.push_back(identities_[i]);
    pathNumber[identities_[i].path] = 0;
  }
  std::string text;
  std::vector<std::uint32_t> ends;
  for (std::uint32_t p = 0; p < pathEnds_.size(); ++p) {
    if (pathNumber[p] == kGone) continue;
    pathNumber[p] = static_cast<std::uint32_t>(ends.size());
    text.append(pathText(p));
    ends.push_back(static_cast<std::uint32_t>(text.size()));
  }
  const auto renumber = [](std::vector<std::uint32_t>& order, const std::vector<std::uint32_t>& number) {
    std::erase_if(order, [&](std::uint32_t n) { return number[n] == kGone; });
    for (std::uint32_t& n : order) n = number[n];
    order.shrink_to_fit();
  };
  renumber(pathsByText_, pathNumber);
  renumber(identitiesByKey_, identityNumber);
  for (Identity& identity : identities) identity.path = pathNumber[identity.path];
  identities_ = std::move(identities);
  pathText_ = std::move(text);
  pathText_.shrink_to_fit();
  pathEnds_ = std::move(ends);
  for (auto& entries : all)
    for (Entry& entry : entries) entry.identity = identityNumber[entry.identity];
  for (std::size_t i = 0; i < snapshots_.size(); ++i)
    snapshots_[i].changes = encode(all[i], i == 0 ? std::vector<Entry>() : all[i - 1]);
  newest_ = all.empty() ? std::vector<Entry>() : all.back();
  liveAtCompaction_ = identities_.size();
}

std::vector<Grower> ProcessSnapshots::growers(std::int64_t from, std::int64_t to,
                                              std::size_t count) const {
  const std::size_t n = identities_.size();
  std::vector<std::uint8_t> seen(n, 0);
  std::vector<std::uint32_t> first(n, 0);
  std::vector<std::uint32_t> last(n, 0);
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < snapshots_.size(); ++i) {
    entries = decode(i, entries);
    if (snapshots_[i].time < from || snapshots_[i].time > to) continue;
    for (const Entry& entry : entries) {
      if (!seen[entry.identity]) first[entry.identity] = entry.kb;
      seen[entry.identity] = 1;
      last[entry.identity] = entry.kb;
    }
  }
  std::vector<std::uint32_t> grew;
  for (std::uint32_t i = 0; i < n; ++i)
    if (seen[i] && last[i] > first[i]) grew.push_back(i);
  const auto larger = [&](std::uint32_t a, std::uint32_t b) {
    const std::uint32_t growthA = last[a] - first[a];
    const std::uint32_t growthB = last[b] - first[b];
    if (growthA != growthB) return growthA > growthB;
    const int order = pathText(identities_[a].path).compare(pathText(identities_[b].path));
    return order != 0 ? order < 0 : identities_[a].created < identities_[b].created;
  };
  const std::size_t shown = std::min(count, grew.size());
  std::partial_sort(grew.begin(), grew.begin() + static_cast<std::ptrdiff_t>(shown), grew.end(), larger);
  std::vector<Grower> result;
  for (std::size_t k = 0; k < shown; ++k) {
    const std::uint32_t i = grew[k];
    result.push_back({std::string(pathText(identities_[i].path)), identities_[i].created,
                      std::uint64_t{first[i]} * 1024, std::uint64_t{last[i]} * 1024});
  }
  return result;
}

std::size_t ProcessSnapshots::heldBytes() const {
  std::size_t bytes = snapshots_.size() * sizeof(Snapshot) + capacityBytes(newest_) +
                      pathText_.capacity() + capacityBytes(pathEnds_) + capacityBytes(pathsByText_) +
                      capacityBytes(identities_) + capacityBytes(identitiesByKey_);
  for (const Snapshot& snapshot : snapshots_) bytes += snapshot.changes.capacity();
  return bytes;
}

}  // namespace kelvane
