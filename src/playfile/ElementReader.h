#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/xml/XmlDocument.h"
#include "playfile/conversion_error.h"

namespace tap {

// The reading rules every parse of the loader shares. Attribute names are
// ASCII; texts come back as 8-bit ANSI.
class ElementReader {
 public:
  explicit ElementReader(const xml::Element& element) : e_(element) {}

  bool has(std::string_view name) const;
  // Absent: nullopt. Present: its text through the ANSI code page.
  std::optional<std::string> text(std::string_view name) const;
  // Missing or unconvertible: conversion_error.
  std::string required_text(std::string_view name) const;
  std::int32_t required_i4(std::string_view name) const;
  // Read only when present; otherwise `fallback`.
  std::int32_t optional_i4(std::string_view name, std::int32_t fallback) const;
  double required_version() const;
  // Through the attribute's typed value: true only when it is true; absent
  // gives `absent`.
  bool boolean(std::string_view name, bool absent) const;

  // A bin.hex element's bytes; a value that is not bytes gives none.
  static std::string bytes(const xml::Element& element);
  // The bytes of the element's child elements, concatenated in order.
  static std::string data_block(const xml::Element& data_struct);

 private:
  conversion_error missing(std::string_view name, std::string_view expected,
                           std::string detail = {}) const;

  const xml::Element& e_;
};

std::u16string wide_name(std::string_view ascii);

}  // namespace tap
