#!/usr/bin/perl
# tsa_server.pl DIR: an RFC 3161 time stamp server on 127.0.0.1 for the signing test. It signs
# each query with DIR/tsa.pem and DIR/tsa.key through "openssl ts -reply" (DIR/tsa.cnf), writes
# its port to DIR/port once it listens and counts the queries it answered in DIR/answered.
use strict;
use warnings;
use IO::Socket::INET;

my ($dir) = @ARGV;
my $server = IO::Socket::INET->new(LocalAddr => '127.0.0.1', LocalPort => 0, Listen => 5,
                                   ReuseAddr => 1) or die "tsa_server: listen: $!\n";
open(my $port, '>', "$dir/port.new") or die "tsa_server: $!\n";
print $port $server->sockport, "\n";
close $port;
rename("$dir/port.new", "$dir/port") or die "tsa_server: $!\n";

while (my $client = $server->accept) {
    binmode $client;
    my ($head, $line) = ('', '');
    while (defined($line = <$client>)) { $head .= $line; last if $line eq "\r\n"; }
    my ($length) = $head =~ /^Content-Length:\s*(\d+)/mi;
    my $query = '';
    read($client, $query, $length // 0);
    open(my $out, '>:raw', "$dir/query.tsq") or die "tsa_server: $!\n";
    print $out $query;
    close $out;
    if (system("openssl ts -reply -config '$dir/tsa.cnf' -queryfile '$dir/query.tsq' " .
               "-signer '$dir/tsa.pem' -inkey '$dir/tsa.key' -out '$dir/reply.tsr' 2>/dev/null") != 0) {
        print $client "HTTP/1.0 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n";
        close $client;
        next;
    }
    open(my $in, '<:raw', "$dir/reply.tsr") or die "tsa_server: $!\n";
    my $reply = do { local $/; <$in> };
    close $in;
    print $client "HTTP/1.0 200 OK\r\nContent-Type: application/timestamp-reply\r\n" .
                  "Content-Length: " . length($reply) . "\r\nConnection: close\r\n\r\n" . $reply;
    close $client;
    open(my $count, '>>', "$dir/answered") or die "tsa_server: $!\n";
    print $count "1\n";
    close $count;
}
