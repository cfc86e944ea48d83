#pragma once

#include <cstdint>

namespace zav {

// The codes of the message catalogue, by name. The value is the code a host
// sees (the catalogue row), so the order is fixed: new messages go at the end.
enum class MessageCode : int32_t {
  UnexpectedEndOfFile = 0,
  CantOpenFile = 1,
  CantReadFile = 2,
  CantCloseFile = 3,
  NoValidModels = 4,
  NoFirstToken = 5,
  UnexpectedToken = 6,
  UnexpectedLine = 7,
  UnknownCardType = 8,
  UnknownControlCard = 9,
  UnknownElementCard = 10,
  UnknownModelCard = 11,
  InvalidCharacter = 12,
  ElementNotInSubcircuit = 13,
  MissingEnds = 14,
  UnexpectedCard = 15,
  MissingKeyword = 16,
  MissingModelName = 17,
  MissingModelType = 18,
  UntranslatableMosfetLevel = 19,
  InvalidName = 20,
  MissingValue = 21,
  NonNumericValue = 22,
  UnsupportedParameter = 23,
  UnrecognizedParameter = 24,
  UnknownParameterAction = 25,
  NoReferencingElements = 26,
  ParameterAddedToDevice = 27,
  UnreferencedMosfetModel = 28,
  ElementWithoutName = 29,
  NotEnoughPins = 30,
  InvalidPinName = 31,
  MissingElementModelName = 32,
  NotEnoughTokens = 33,
  UnsupportedForm = 34,
  AkoReferenceNotFound = 35,
  AkoReferenceNotAModel = 36,
  EncryptedBlock = 37,
  BytesAfterEndOfFileMark = 38,
  ModelAlreadyInHostForm = 39,
  NulBytesReplaced = 40,
  OutOfMemory = 41,
  // Filed only by imports translated for ngspice (zav-import --target ngspice).
  ExpressionRewritten = 42,
  NoNgspiceFunction = 43,
  ParameterCommasRemoved = 44,
  ElementParameterRewritten = 45,
  ModelTypeRewritten = 46,
  MosfetLevelRewritten = 47,
  SwitchPointsRewritten = 48,
  DefaultWrittenOut = 49,
  SwitchResistancesSwapped = 50,
  ModelAlreadyInNgspiceForm = 51,
};

// One past the last code: the number of rows of the catalogue.
constexpr int32_t kMessageCodeCount = static_cast<int32_t>(MessageCode::ModelAlreadyInNgspiceForm) + 1;

}  // namespace zav
