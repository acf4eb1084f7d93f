#include "vbscript/vm/AppendNode.h"

#include <iterator>
#include <vector>

#include "vbscript/ScriptError.h"
#include "vbscript/vm/OpNodes.h"
#include "vbscript/vm/calls.h"

namespace tap::vbs {

using com::Variant;

namespace {

// The text "&" makes of an operand joined to a string: conversions,
// default members and errors exactly as the operator has them.
com::BStr text_of(const Variant& v) {
  const Variant& d = v.deref();
  if (d.vt() == com::VT_BSTR) return d.bstr();
  // Made once for the process, so charged to no script's memory.
  static const Variant empty_text = [] {
    com::MemoryMeter::Activation unmetered(nullptr);
    return Variant(std::u16string{});
  }();
  return apply_binary(ast::Op::cat, empty_text, d).bstr();
}

// A few pieces stay on the stack; longer chains move to the heap.
class Pieces {
 public:
  void push(com::BStr s) {
    if (spill_.empty() && size_ < inline_count) {
      inline_[size_++] = std::move(s);
      return;
    }
    if (spill_.empty()) spill_.assign(std::make_move_iterator(inline_), std::make_move_iterator(inline_ + size_));
    spill_.push_back(std::move(s));
    ++size_;
  }
  std::span<const com::BStr> all() const {
    if (spill_.empty()) return {inline_, size_};
    return spill_;
  }

 private:
  static constexpr std::size_t inline_count = 4;
  com::BStr inline_[inline_count];
  std::vector<com::BStr> spill_;
  std::size_t size_ = 0;
};

}  // namespace

Flow AppendNode::exec(Runtime& rt) const {
  Variant head = target_->eval(rt);  // shares the variable's buffer while the parts run
  if (head.vt() != com::VT_BSTR || head.bstr().is_null()) return concatenate(rt, std::move(head));
  Pieces pieces;
  std::size_t total = head.bstr().size();
  for (const ExprNode& part : parts_) {
    com::BStr text;
    if (const Variant* p = part->peek(rt)) text = text_of(*p);
    else text = text_of(part->eval(rt));
    // Past the limit the operator fails at this step, before later parts run.
    total += text.size();
    if (total > max_string_length) throw ScriptError(RuntimeError::out_of_memory);
    pieces.push(std::move(text));
  }
  // The parts may have run code that assigned or copied the variable: grow
  // it in place only when it still holds the same text and nothing else does.
  Variant* slot = target_->writable(rt);
  if (slot && slot->vt() == com::VT_BSTR && slot->bstr().shares_buffer_with(head.bstr())) {
    head = Variant();
    if (slot->bstr_for_append().append_if_sole_owner(pieces.all())) return Flow::normal;
    head = *slot;
  }
  std::u16string joined;
  joined.reserve(total);
  joined.append(head.bstr().view());
  for (const com::BStr& s : pieces.all()) joined.append(s.view());
  target_->assign(rt, Variant(std::move(joined)), false);
  return Flow::normal;
}

// Anything but a string on the left: the operators one after the other.
Flow AppendNode::concatenate(Runtime& rt, Variant first) const {
  Variant acc = std::move(first);
  for (const ExprNode& part : parts_) {
    if (const Variant* p = part->peek(rt)) acc = apply_binary(ast::Op::cat, acc, *p);
    else acc = apply_binary(ast::Op::cat, acc, part->eval(rt));
  }
  target_->assign(rt, assignable(std::move(acc), false), false);
  return Flow::normal;
}

}  // namespace tap::vbs
