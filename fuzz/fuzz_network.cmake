# What a peer sends over the link, from arbitrary bytes.
brevanto_fuzz(fuzz_peer_message SOURCES fuzz_peer_message.cpp LIBS app_network)
