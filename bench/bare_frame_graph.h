// The designed frame-string graph without windows, for the native benchmarks: window-free LEDs at
// its inputs and a sink that keeps the last frame string. Connected, with delivery still off.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "app/bare_led.h"
#include "app/frame_graph.h"

struct TFrameLine : TQxObject {
  ByteString text;
  int sets = 0;
  void inText(TData* d, std::uint16_t) {
    text = AsStr(d);
    ++sets;
  }
};

struct TBareFrameGraph {
  std::unique_ptr<TFrameGraph> graph = std::make_unique<TFrameGraph>();
  std::array<TBareLED, frame::kLedCount> leds;
  TFrameLine line;
  TQx_Event resetClick;

  TBareFrameGraph() {
    TFrameGraphPorts ports;
    for (std::size_t i = 0; i < leds.size(); ++i) ports.Leds[i] = FrameLedPinsOf(&leds[i]);
    ports.ResetSource = &resetClick;
    ports.FrameSink = MakeLink<&TFrameLine::inText>(&line);
    graph->Connect(ports);
  }
};
