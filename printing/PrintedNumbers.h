// Printed numbers follow the platform's decimal separator.
#pragma once

// Sets the separator of printed labels from the platform's ('.' when that is not one ASCII
// character). Every drawing of a diagram calls it first, so a change made while the program
// runs is followed.
void UsePlatformDecimalSeparator();
