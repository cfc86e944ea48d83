#pragma once

#include <cstdint>

namespace zav {

// Values 6, 13, 19, 20, 23 and 24 belong to no card. The nine model kinds of
// the dialect form the unbroken range 25 to 33; HostModel is a model card
// already written in the host's form.
enum class CardKind : uint8_t {
  Unknown = 0,
  Control = 1,
  Element = 2,
  Model = 3,
  Subckt = 4,
  Ends = 5,
  Capacitor = 7,
  Diode = 8,
  VoltageControlledSource = 9,
  CurrentControlledSource = 10,
  IndependentSource = 11,
  Jfet = 12,
  Inductor = 14,
  Mosfet = 15,
  Bjt = 16,
  Resistor = 17,
  VoltageSwitch = 18,
  CurrentSwitch = 21,
  SubcktCall = 22,
  BjtModel = 25,
  DiodeModel = 26,
  JfetModel = 27,
  MosfetModel = 28,
  CapacitorModel = 29,
  InductorModel = 30,
  ResistorModel = 31,
  CurrentSwitchModel = 32,
  VoltageSwitchModel = 33,
  HostModel = 34,
};

// Every model card, whether the dialect's or already the host's: the one test
// of "is this a model card".
constexpr bool IsModelKind(CardKind kind) {
  return (kind >= CardKind::BjtModel && kind <= CardKind::VoltageSwitchModel) || kind == CardKind::HostModel;
}

constexpr bool IsElementKind(CardKind kind) {
  return kind >= CardKind::Capacitor && kind <= CardKind::SubcktCall;
}

}  // namespace zav
