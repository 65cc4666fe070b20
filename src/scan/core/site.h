// The addresses and names behind the links of the report and of the program's own pages.
#pragma once

namespace tarvik::site {

inline constexpr const char* kHomeAddress = "https://tarvik.ostrel.example";
inline constexpr const char* kProjectOfficeMail = "tarvik-office@ostrel.example";
inline constexpr const char* kCuratorMail = "curator@ostrel.example";
inline constexpr const char* kCuratorName = "Corvane Ostrel";
inline constexpr const char* kFeedbackAddress = "https://tarvik.ostrel.example/feedback.htm";
inline constexpr const char* kFeedbackText = "Tarvik Feedback Form";

}  // namespace tarvik::site
