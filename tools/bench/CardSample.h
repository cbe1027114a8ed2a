#pragma once

// The reminder both card benchmarks show: a heading, a time, a title of two
// lines, a note of three and a link, so that every part of the card is drawn.
inline constexpr char16_t kBenchCardMessage[] =
    u"研讨会即将开始||||||2026-12-09 14:30||||||企业级云原生架构实践：从容器编排到服务网格的"
    u"落地经验||||||20261209001||||||请提前十分钟进入会议室，并检查耳机与网络。本场研讨会将介绍"
    u"服务拆分、容器编排与可观测性的落地经验，并现场解答听众提问。";

// Its lifetime in tenths of a second, as DisplayAlert takes it.
inline constexpr short kBenchCardTenths = 100;
