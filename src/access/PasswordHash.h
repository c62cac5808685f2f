#pragma once

#include <string>
#include <string_view>

// Passwords are kept as salted slow hashes in the modular crypt format of the C library
// ("$y$" for yescrypt), so that the key file holds nothing a reader could turn back into a
// password, and the kind of hash stays visible for a later change of method.
inline constexpr std::string_view PasswordHashPrefix = "$y$";

// A new hash of Password under a fresh random salt; empty when the system could not make one
// (no random source, or the method is not available).
std::string HashPassword(std::string_view password);

// Whether Stored is a hash in a form the C library can check, as opposed to an entry of the
// older enciphered kind.
bool IsPasswordHash(std::string_view stored);

// Whether Password hashes to Stored under Stored's own method and salt. A password holding a
// zero byte never matches: the C library would see only the part before it.
bool PasswordMatchesHash(std::string_view password, std::string_view stored);
