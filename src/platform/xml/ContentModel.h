#pragma once
// The element content model of one ElementType, compiled once into a
// position automaton (Glushkov): each `element` reference is a position,
// and a child list is run through it with a set of current positions, so
// that ambiguous models need no backtracking.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tap::xml {

enum class Order { Seq, One, Many };

// An `element` reference or a `group` (the ElementType's own children form
// the outermost group). Occurrence: minOccurs 0 -> optional, maxOccurs * ->
// repeat.
struct Particle {
  bool is_group = false;
  Order order = Order::Seq;
  bool optional = false;
  bool repeat = false;
  std::string ns;    // element: namespace of the referenced type
  std::string name;  // element: local name of the referenced type
  std::vector<Particle> items;
  int line = 0;
};

class ContentModel {
 public:
  // Run state over one element's children.
  struct State {
    std::vector<std::uint32_t> positions;
    bool initial = true;
  };

  ContentModel() = default;
  explicit ContentModel(const Particle& root);

  // Advances over a child element; false when no position accepts it (the
  // state is then unchanged).
  bool step(State& state, std::string_view ns, std::string_view name) const;
  bool accepting(const State& state) const;
  // The element names that may come next, for messages.
  std::string expected(const State& state) const;

 private:
  struct Sets {
    bool nullable = false;
    std::vector<std::uint32_t> first;
    std::vector<std::uint32_t> last;
  };
  struct Position {
    std::string ns;
    std::string name;
  };

  Sets build(const Particle& p, bool ignore_occurrence);
  void link(const std::vector<std::uint32_t>& from, const std::vector<std::uint32_t>& to);
  const std::vector<std::uint32_t>& candidates(const State& state, std::size_t i) const;

  std::vector<Position> positions_;
  std::vector<std::vector<std::uint32_t>> follow_;
  std::vector<std::uint32_t> first_;
  std::vector<bool> last_;
  bool nullable_ = true;
};

}  // namespace tap::xml
