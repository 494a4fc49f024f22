#pragma once
// The home page the first-run window invites the user to visit.
inline constexpr auto kAdvertPageUrl = "https://www.example.com/";
