// The two temperature scales. Readings are stored in degrees Celsius; Fahrenheit exists only on
// screen. Both directions keep full double precision, so a value picked in Fahrenheit shows with
// the same one-decimal text after the trip through Celsius.
#pragma once

double CelsiusToFahrenheit(double celsius);
double FahrenheitToCelsius(double fahrenheit);
