#pragma once

// The maker's addresses, shared by the about box and the Help commands.
namespace maker {
inline constexpr char kHomePage[] = "https://yarrowkit.tamberlyn.example/";
inline constexpr char kSupportMail[] = "support@tamberlyn.example";
}  // namespace maker
