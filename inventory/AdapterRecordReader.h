// Fills an AdapterRecord from one WMI result object.
#pragma once

#include "inventory/AdapterRecord.h"
#include "platform/Wmi.h"

namespace kestrova {

// Every read stands alone: a failure leaves that one field failed and the
// others are still read.
AdapterRecord ReadAdapterRecord(WmiObject& adapter);

// How one WMI value becomes a field. Texts are kept exactly as delivered. A
// value of another type than the field's counts as a failed read, except that
// a text field takes booleans and integers in their text form, so nothing WMI
// says about a text column is lost.
Reading<Text> TextReading(const WmiValue& value);
Reading<bool> BoolReading(const WmiValue& value);
// CIM uint32 arrives as a signed 32-bit variant; -1 there means 4294967295.
// Anything outside the 32-bit range in either reading is not an MTU.
Reading<std::uint32_t> UInt32Reading(const WmiValue& value);

}  // namespace kestrova
