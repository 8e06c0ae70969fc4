#!/usr/bin/perl
# Our production index opened by Perl's XBase::Index: it lists the tag "ORDEN", and after
# appends it holds one key per row, in ascending order, each pointing at the row with
# that value. XBase::Index does not decode dBase IV numeric keys, so this script does.
use strict;
use warnings;
use File::Temp qw(tempdir);
use XBase::Index;

my $tool = shift or die "usage: $0 TOOL\n";
my $folder = tempdir(CLEANUP => 1);
my $failures = 0;

sub fail { print "FAIL: @_\n"; $failures++; }

# A 12-byte dBase IV numeric key: byte 0 is 52 plus the digits before the point, byte 1
# the sign (0x80) and the digit count (bits 2 to 6), then the digits two to a byte.
sub decode_key {
    my ($key) = @_;
    my @b = unpack 'C12', $key;
    my $negative = $b[1] & 0x80;
    my $count = ($b[1] >> 2) & 0x1F;
    my $digits = join '', map { ($_ % 2 == 0) ? ($b[2 + $_ / 2] >> 4) : ($b[2 + ($_ - 1) / 2] & 0x0F) } 0 .. $count - 1;
    return 0 if $count == 0;
    my $exponent = $b[0] - 52;
    # Place the decimal point as text, so that whole numbers stay exact.
    my $text;
    if ($exponent <= 0) { $text = '0.' . ('0' x -$exponent) . $digits; }
    elsif ($exponent >= $count) { $text = $digits . ('0' x ($exponent - $count)); }
    else { $text = substr($digits, 0, $exponent) . '.' . substr($digits, $exponent); }
    return ($negative ? -1 : 1) * $text;
}

sub check_index {
    my ($what, @values) = @_;    # the ORDEN of rows 1, 2, ...
    my $index = XBase::Index->new("$folder/DIASHORAST2.MDX");
    if (!$index) { fail("$what: cannot open: " . XBase::Index->errstr); return; }
    my @tags = $index->tags;
    fail("$what: tags @tags") unless "@tags" eq "ORDEN";
    $index = XBase::Index->new("$folder/DIASHORAST2.MDX", 'tag' => 'ORDEN');
    $index->prepare_select;
    my @keys;
    while (my ($key, $row) = $index->fetch) { push @keys, [decode_key($key), $row]; }
    fail("$what: " . scalar(@keys) . " keys for " . scalar(@values) . " rows")
        unless @keys == @values;
    for my $i (1 .. $#keys) {
        fail("$what: key $i ($keys[$i][0]) below the one before ($keys[$i - 1][0])")
            if $keys[$i][0] < $keys[$i - 1][0];
    }
    my %seen;
    for my $k (@keys) {
        my ($value, $row) = @$k;
        fail("$what: key $value points at row $row holding " . ($values[$row - 1] // 'nothing'))
            unless defined $values[$row - 1] && $values[$row - 1] == $value;
        $seen{$row}++;
    }
    fail("$what: not every row is keyed once") unless keys %seen == @values;
}

my @first = (5, 3, 9, 3);
system($tool, 'write-indexed', $folder) == 0 or die "write-indexed failed\n";
check_index('empty');
system($tool, 'append-indexed', $folder, @first) == 0 or die "append-indexed failed\n";
check_index('four rows', @first);
# Enough rows for a tree of several levels, with negative numbers and zero.
srand(7);
my @more = map { int(rand(200000)) - 100000 } 1 .. 5000;
push @more, 0, 0, -1, 1, 2147483647, -2147483648;
system($tool, 'append-indexed', $folder, @more) == 0 or die "append-indexed failed\n";
check_index('many rows', @first, @more);

print $failures ? "$failures failures\n" : "XBase::Index reads the ORDEN tag in order\n";
exit($failures ? 1 : 0);
