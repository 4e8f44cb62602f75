# A bounded soak of the peer link on loopback.
brevanto_bench(bench_peerlink SOURCES bench_peerlink.cpp LIBS app_network Qt6::Network)
# The reading-unit panel's delay from the last byte to the card, and its idle cost; the finish
# window's delay from the last byte to the result on screen, with lap tickets and live results.
brevanto_bench(bench_reader SOURCES bench_reader.cpp
               LIBS shell shell_reader_panel ecard250_wire event_generator Qt6::Widgets)
# The peer link's message reader without sockets.
brevanto_bench(bench_peer_message SOURCES bench_peer_message.cpp LIBS app_network)
