#pragma once
// The fixture date arrangement lists as the program starts with them: pairs
// of team letters, '!' after each pairing (the next fixture date), '$' at the
// end. Shared by the tournament code and the year-file generator.
// Index 0..8 for 2..10 teams; null where there is no list.
inline constexpr const char* fixture_kSingle[9] = {
    "AB!$",
    "AB!CA!BC!$",
    "AB!CD!BC!DA!AC!BD!$",
    "AB!CD!EA!BC!AC!DE!BD!EC!EB!DA!$",
    "AB!CD!EF!BC!EA!FD!AC!BF!DE!CE!DB!FA!AD!EB!FC!$",
    "AB!CD!EF!CF!DA!GE!AC!BG!FD!CG!FB!EA!AF!BE!GD!GA!EC!DB!CB!ED!GF!$",
    nullptr,
    "AB!IG!HE!DF!DA!GE!IC!FH!FA!CD!HG!BI!AE!HC!DI!BF!IA!GB!DH!EC!CG!BH!ED!FI!AC!GF!IH!BE!GA!FC!IE!BD!HA!DG!EF!BC!$",
    nullptr,
};
inline constexpr const char* fixture_kDouble[9] = {
    "AB!BA!$",
    "AB!CA!BC!BA!AC!CB!$",
    "AB!CD!BC!DA!AC!BD!CA!DB!AD!CB!BA!DC!$",
    "AB!CD!EA!BC!AC!DE!BD!EC!CB!DA!BE!AD!DC!EB!BA!CE!AE!DB!CA!ED!$",
    "AB!CD!EF!BC!EA!FD!AC!BF!DE!CE!DB!FA!AD!CB!FE!BA!ED!FC!AE!BD!CF!AF!DC!EB!DA!EC!FB!BE!CA!DF!$",
    "AB!CD!EF!BC!DA!GE!AC!BG!FD!CG!FB!EA!AF!BE!GD!FE!DC!GA!CB!ED!GF!AD!EC!BF!CA!DG!EB!BA!DF!GC!AE!FC!GB!BD!EG!FA!"
    "AG!CF!DE!CE!DB!FG!$",
    nullptr,
    "AB!IG!HE!DF!DA!GE!IC!FH!FA!CD!HG!BI!AE!HC!DI!BF!IA!GB!DH!EC!CG!BH!ED!FI!AC!GF!IH!BE!GA!FC!IE!BD!HA!DG!EF!BC!"
    "BA!GI!EH!FD!AD!EG!CI!HF!AF!DC!GH!IB!EA!CH!FB!ID!AI!BG!HD!CE!GC!HB!DE!IF!CA!FG!HI!EB!AG!CF!EI!DB!AH!GD!FE!CB!$",
    "AB!IG!HE!DF!JC!DA!GE!IC!FH!BJ!FA!CD!HG!BI!JE!AE!HC!DI!BF!GJ!IA!GB!DH!EC!JF!CG!BH!ED!FI!AJ!AC!GF!IH!BE!JD!GA!"
    "FC!IE!BD!JH!HA!DG!EF!BC!IJ!BA!GI!EH!FD!CJ!AD!EG!CI!HF!JB!AF!DC!GH!IB!EJ!EA!CH!FB!ID!JG!AI!BG!HD!CE!FJ!GC!HB!"
    "DE!IF!JA!CA!FG!HI!EB!DJ!AG!CF!EI!DB!HJ!AH!GD!FE!CB!JI!$",
};

