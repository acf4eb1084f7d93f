#include "platform/xml/ContentModel.h"

#include <algorithm>

namespace tap::xml {

namespace {

void merge(std::vector<std::uint32_t>& into, const std::vector<std::uint32_t>& from) {
  for (auto p : from) {
    if (std::find(into.begin(), into.end(), p) == into.end()) into.push_back(p);
  }
}

}  // namespace

ContentModel::ContentModel(const Particle& root) {
  Sets s = build(root, false);
  first_ = std::move(s.first);
  nullable_ = s.nullable;
  last_.assign(positions_.size(), false);
  for (auto p : s.last) last_[p] = true;
}

void ContentModel::link(const std::vector<std::uint32_t>& from, const std::vector<std::uint32_t>& to) {
  for (auto p : from) merge(follow_[p], to);
}

// seq: a, b, ...   one: a | b | ...   many: (a | b | ...)* with the items'
// own occurrences ignored; then the particle's occurrence: ?, * or +.
ContentModel::Sets ContentModel::build(const Particle& p, bool ignore_occurrence) {
  Sets s;
  if (!p.is_group) {
    auto id = static_cast<std::uint32_t>(positions_.size());
    positions_.push_back({p.ns, p.name});
    follow_.emplace_back();
    s.first = {id};
    s.last = {id};
  } else if (p.order == Order::Seq) {
    s.nullable = true;
    for (const auto& item : p.items) {
      Sets t = build(item, false);
      link(s.last, t.first);
      if (s.nullable) merge(s.first, t.first);
      if (t.nullable) {
        merge(s.last, t.last);
      } else {
        s.last = t.last;
      }
      s.nullable = s.nullable && t.nullable;
    }
  } else {
    bool many = p.order == Order::Many;
    for (const auto& item : p.items) {
      Sets t = build(item, many);
      s.nullable = s.nullable || t.nullable;
      merge(s.first, t.first);
      merge(s.last, t.last);
    }
    if (many) {
      link(s.last, s.first);
      s.nullable = true;
    }
  }
  if (ignore_occurrence) return s;
  if (p.repeat) link(s.last, s.first);
  if (p.optional) s.nullable = true;
  return s;
}

const std::vector<std::uint32_t>& ContentModel::candidates(const State& state, std::size_t i) const {
  return state.initial ? first_ : follow_[state.positions[i]];
}

bool ContentModel::step(State& state, std::string_view ns, std::string_view name) const {
  std::vector<std::uint32_t> next;
  std::size_t sources = state.initial ? 1 : state.positions.size();
  for (std::size_t i = 0; i < sources; ++i) {
    for (auto q : candidates(state, i)) {
      const Position& pos = positions_[q];
      if (pos.name == name && pos.ns == ns && std::find(next.begin(), next.end(), q) == next.end()) {
        next.push_back(q);
      }
    }
  }
  if (next.empty()) return false;
  state.positions = std::move(next);
  state.initial = false;
  return true;
}

bool ContentModel::accepting(const State& state) const {
  if (state.initial) return nullable_;
  return std::any_of(state.positions.begin(), state.positions.end(), [&](std::uint32_t p) { return last_[p]; });
}

std::string ContentModel::expected(const State& state) const {
  std::vector<std::string_view> names;
  std::size_t sources = state.initial ? 1 : state.positions.size();
  for (std::size_t i = 0; i < sources; ++i) {
    for (auto q : candidates(state, i)) {
      std::string_view n = positions_[q].name;
      if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    }
  }
  if (names.empty()) return "no more elements";
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
    out += "'" + std::string(names[i]) + "'";
  }
  return out;
}

}  // namespace tap::xml
