#pragma once
// How a parameter value is shown to the user: fixed notation with two
// decimals and the user's decimal separator (0.5 gives 0.50).

// Writes the text and its terminator; the buffer holds at least 16 bytes.
void formatParameterValue(float value, char* buffer);
